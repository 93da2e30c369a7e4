#!/usr/bin/env bash
# The gallery in a real X window: its pixels equal the headless rendering of the same page,
# typed keys reach the text box, copy and paste go through the X clipboard, and pages chosen
# by clicks replace each other cleanly.
#   with_xvfb.sh gallery_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xwd xclip

size=900x600
start_gallery "$out/gallery.log" --size "$size"

# The headless rendering to compare a window with.
render_headless() {  # name, gallery options...
  local name=$1; shift
  "$gallery" --png "$out/$name-headless.png" --size "$size" "$@"
}

# Waits until the window shows the headless rendering (painting may lag a moment, and a page
# takes a while to build under the sanitizers on a busy machine).
expect_window() {  # name
  local name=$1
  for _ in $(seq 100); do
    xwd -id "$win" -silent >"$out/$name-window.xwd"
    if "$compare" "$out/$name-window.xwd" "$out/$name-headless.png" "$out/$name-diff.png" \
        >"$out/$name-compare.txt"; then
      echo "$name: window equals the headless rendering"
      return 0
    fi
    sleep 0.1
  done
  echo "$name: window differs from the headless rendering: $(cat "$out/$name-compare.txt")"
  echo "see $out/$name-diff.png"
  return 1
}

expect_pixels() {  # name, gallery options for the headless rendering...
  render_headless "$@"
  expect_window "$1"
}

clipboard_is() {
  local want=$1 got=""
  for _ in $(seq 40); do
    got=$(xclip -o -selection clipboard 2>/dev/null || true)
    [[ $got == "$want" ]] && { echo "clipboard holds \"$got\""; return 0; }
    sleep 0.1
  done
  echo "clipboard holds \"$got\", expected \"$want\""
  return 1
}

expect_pixels start

# Click into the text box (page area starts at x 150; the box at 12,456 inside it), type.
xdotool mousemove --window "$win" 200 468 click 1
xdotool windowfocus --sync "$win" || true
xdotool type --delay 30 'kvl 42'
xdotool key --delay 30 ctrl+c
clipboard_is 'kvl 42'

# Paste what another program put on the clipboard, then copy the whole text again.
printf 'pasted' | xclip -i -selection clipboard
xdotool key --delay 30 ctrl+v
sleep 0.3
xdotool key --delay 30 ctrl+c
clipboard_is 'kvl 42pasted'

expect_pixels typed --type 'kvl 42pasted'

# Pages chosen by clicks in the page list (rows 22 pixels high from y 4) look as the headless
# renderer draws them: nothing of the page before stays behind. The order takes the Canvas
# page's sampler to each other page. The rendering is made before the click, since a page's
# clock starts with the page and a slow rendering (sanitizers) would let the window run ahead.
mapfile -t pages < <("$gallery" --list)
for row in 2 0 1 0 3 0; do
  render_headless "page$row" --page "${pages[$row]}"
  xdotool mousemove --window "$win" 60 $((15 + 22 * row)) click 1
  expect_window "page$row"
done

kill -0 "$gallery_pid" || { echo "the gallery exited early"; cat "$out/gallery.log"; exit 1; }
echo "PASS"
