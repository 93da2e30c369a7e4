#!/usr/bin/env bash
# The report list page in a real X window: after a header click, a turn of the wheel over the
# rows, a click on a check box and a Ctrl-click on another row, the window's pixels equal the
# headless rendering that replays the same clicks and turns.
#   with_xvfb.sh report_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xwd

page="Report list"
size=900x600
# Filling a million rows takes a moment: the window opens on the first page, and the page is
# chosen in the list once it shows.
start_gallery "$out/report-gallery.log" --size "$size"
# The page list's rows are 22 pixels high, in the order `--list` prints.
row=$("$gallery" --list | grep -n -x "$page" | cut -d: -f1)
xdotool mousemove --window "$win" 40 $(( (row - 1) * 22 + 11 )) click 1

replay=()
# expect_step NAME: the window equals the headless replay of every step so far. Sorting a
# million rows takes a moment, so the window gets a while to catch up.
expect_step() {
  local name=$1
  "$gallery" --png "$out/report-$name-headless.png" --size "$size" --page "$page" "${replay[@]}"
  for _ in $(seq 100); do
    xwd -id "$win" -silent >"$out/report-$name-window.xwd"
    if "$compare" "$out/report-$name-window.xwd" "$out/report-$name-headless.png" \
        "$out/report-$name-diff.png" >"$out/report-$name-compare.txt"; then
      echo "$name: window equals the headless rendering"
      return 0
    fi
    sleep 0.2
  done
  echo "$name: window differs: $(cat "$out/report-$name-compare.txt"); see $out/report-$name-diff.png"
  exit 1
}

expect_step start

# The "Name" column header (page area from x 150; the view starts at 10,28 in it).
xdotool mousemove --window "$win" 300 65 click 1
replay+=(--click 300,65)
expect_step sorted

xdotool mousemove --window "$win" 400 200 click --repeat 3 5
replay+=(--wheel 400,200,3)
expect_step wheel

sleep 0.6  # no double click with the next press
xdotool mousemove --window "$win" 347 170 click 1
replay+=(--click 347,170)
expect_step checked

sleep 0.6
xdotool mousemove --window "$win" 300 195 keydown ctrl click 1 keyup ctrl
replay+=(--click 300,195,ctrl)
expect_step ctrl_click

kill -0 "$gallery_pid" || { echo "the gallery exited early"; exit 1; }
echo "PASS"
