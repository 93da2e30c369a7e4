#!/usr/bin/env bash
# The buttons and selectors page in a real X window: its pixels equal the headless rendering, a
# held repeat button repeats at its pace and clicks once, leaving it stops the repetition
# without a click, clicks on a check box and a marker cell reach their handlers, and the colour
# selector's list drops down in a window of its own, looks as headless, and takes keys.
#   with_xvfb.sh buttons_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xwd xwininfo

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

# The colour selector (page 390,312, 150 x 21): a click drops its list down below it.
colour_x=630 colour_y=322
xdotool mousemove --window "$win" $colour_x $colour_y click 1
popup=$(find_visible '^kvl popup$')
[[ -n $popup ]] || { echo "no list window after the click on the colour selector"; exit 1; }
read -r wx wy < <(origin "$win")
read -r px py < <(origin "$popup")
# Below the selector (a window manager's frame may move it by a pixel; the pixels decide).
(( py >= wy + 333 && py <= wy + 335 && px >= wx + 539 && px <= wx + 541 )) ||
  { echo "the list is at $px,$py, the selector's bottom left at $((wx + 540)),$((wy + 333))"; exit 1; }
row_h=$((($(xwininfo -id "$popup" | awk '/Height:/ {print $2}') - 2) / 8))
# The screen over the window (the list included) looks as the headless rendering.
expect_screen() {  # name, --click options of the headless rendering...
  local name=$1
  shift
  "$gallery" --png "$out/$name-headless.png" --size "$size" --page "$page" "$@"
  for _ in $(seq 40); do
    xwd -root -silent >"$out/$name-window.xwd"
    if "$compare" "$out/$name-window.xwd" "$out/$name-headless.png" "$out/$name-diff.png" \
        "$wx,$wy" >"$out/$name-compare.txt"; then
      echo "$name: the screen equals the headless rendering"
      return 0
    fi
    sleep 0.1
  done
  echo "$name: the screen differs: $(cat "$out/$name-compare.txt")"
  exit 1
}
expect_screen colours-open --click $colour_x,$colour_y
xdotool windowfocus --sync "$win" || true
xdotool key Down Down Return
expect_gone '^kvl popup$' "the colour list after Enter"
for _ in $(seq 20); do
  grep -q '^colour 3 clGreen$' "$log" && break
  sleep 0.1
done
grep -q '^colour 3 clGreen$' "$log" || { echo "slot 3 was not logged"; exit 1; }
# The closed face as after a click on row 3 (list rows start one pixel below y 333).
expect_screen colours-chosen --click $colour_x,$colour_y --click $colour_x,$((334 + 2 * row_h + 3))

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
