#!/usr/bin/env bash
# A combo box's list in a real X server: on the gallery's "Lists and pickers" page a click on
# the drop-down-list combo box opens its list as an override-redirect window, and the screen
# around the form and the list looks as the headless rendering of the same click; a click on
# an item closes the list and shows the item on the face, again as rendered headless.
#   with_xvfb.sh lists_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xwd xwininfo

size=900x600
page="Lists and pickers"
start_gallery "$out/gallery.log" --size "$size" --page "$page"
xdotool windowfocus --sync "$win" || true

expect_pixels() {  # name, gallery options for the headless rendering...
  local name=$1; shift
  "$gallery" --png "$out/$name-headless.png" --size "$size" --page "$page" "$@"
  local at
  at=$(origin "$win" | tr ' ' ',')
  for _ in $(seq 40); do
    xwd -root -silent >"$out/$name-window.xwd"
    if "$compare" "$out/$name-window.xwd" "$out/$name-headless.png" "$out/$name-diff.png" "$at" \
        >"$out/$name-compare.txt"; then
      echo "$name: window equals the headless rendering"
      return 0
    fi
    sleep 0.1
  done
  echo "$name: window differs from the headless rendering: $(cat "$out/$name-compare.txt")"
  return 1
}

face_x=230 face_y=233    # the "Drop-down list" combo box
item_x=230 item_y=317    # its list's fifth row, "date"

xdotool mousemove --window "$win" $face_x $face_y click 1
list=$(find_visible '^kvl popup$')
[[ -n $list ]] || { echo "no list window after the click"; exit 1; }
grep -q 'Override Redirect State: yes' < <(xwininfo -id "$list") ||
  { echo "the list is not override-redirect"; exit 1; }
expect_pixels open --click $face_x,$face_y

xdotool mousemove --window "$win" $item_x $item_y click 1
expect_gone '^kvl popup$' "the list after choosing"
expect_pixels chosen --click $face_x,$face_y --click $item_x,$item_y

kill -0 "$gallery_pid" || { echo "the gallery exited early"; cat "$out/gallery.log"; exit 1; }
echo "PASS"
