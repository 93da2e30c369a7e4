#!/usr/bin/env bash
# The buttons and selectors page in a real X window: its pixels equal the headless rendering, a
# held repeat button repeats at its pace and clicks once, leaving it stops the repetition
# without a click, and clicks on a check box and a marker cell reach their handlers.
#   with_xvfb.sh buttons_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xwd

page="Buttons and selectors"
size=900x600
log="$out/buttons-events.log"
start_gallery "$out/buttons-gallery.log" --size "$size" --page "$page" --event-log "$log"

"$gallery" --png "$out/buttons-headless.png" --size "$size" --page "$page"
same=""
for _ in $(seq 40); do
  xwd -id "$win" -silent >"$out/buttons-window.xwd"
  if "$compare" "$out/buttons-window.xwd" "$out/buttons-headless.png" "$out/buttons-diff.png" \
      >"$out/buttons-compare.txt"; then
    same=yes
    break
  fi
  sleep 0.1
done
[[ -n $same ]] || { echo "window differs: $(cat "$out/buttons-compare.txt")"; exit 1; }
echo "window equals the headless rendering"

count() { grep -c "^$1\$" "$log" || true; }

# The page area starts at x 150; the "-" button of the value counter sits at 545,220 in it.
minus_x=710 minus_y=233
xdotool mousemove --window "$win" $minus_x $minus_y mousedown 1
sleep 1.2
xdotool mouseup 1
repeats=$(count "repeat ValueMinus")
sleep 0.5
after=$(count "repeat ValueMinus")
clicks=$(count "click ValueMinus")
echo "held 1.2 s: $repeats repeats, $clicks clicks, $after repeats 0.5 s later"
(( repeats >= 3 && repeats <= 5 )) || { echo "expected 3 to 5 repeats"; exit 1; }
(( after == repeats )) || { echo "repeats went on after the release"; exit 1; }
(( clicks == 1 )) || { echo "expected exactly one click"; exit 1; }

# Leaving the button stops the repetition, and the release outside clicks nothing.
sleep 0.6
before=$(count "repeat ValueMinus")
xdotool mousemove --window "$win" $minus_x $minus_y mousedown 1
sleep 0.7
xdotool mousemove --window "$win" $((minus_x - 100)) $minus_y
moved=$(count "repeat ValueMinus")
sleep 1
xdotool mouseup 1
sleep 0.2
final=$(count "repeat ValueMinus")
echo "dragged off: $((moved - before)) repeats before leaving, $((final - moved)) after"
(( final == moved )) || { echo "the repetition went on after leaving"; exit 1; }
(( $(count "click ValueMinus") == 1 )) || { echo "the release outside clicked"; exit 1; }

# The check box (style 1, off) and shape 9 of the marker selector.
sleep 0.6
xdotool mousemove --window "$win" 289 35 click 1
sleep 0.6
xdotool mousemove --window "$win" 201 355 click 1
for _ in $(seq 20); do
  grep -q '^mark 9$' "$log" && break
  sleep 0.1
done
grep -q '^onoff Style1 on$' "$log" || { echo "the check box click was not logged"; exit 1; }
grep -q '^mark 9$' "$log" || { echo "the marker click was not logged"; exit 1; }

kill -0 "$gallery_pid" || { echo "the gallery exited early"; exit 1; }
echo "PASS"
