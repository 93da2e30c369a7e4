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
open_page "Lists and pickers"

face_x=230 face_y=233    # the "Drop-down list" combo box
item_x=230 item_y=317    # its list's fifth row, "date"

xdotool mousemove --window "$win" $face_x $face_y click 1
list=$(find_visible '^kvl popup$')
[[ -n $list ]] || { echo "no list window after the click"; exit 1; }
grep -q 'Override Redirect State: yes' < <(xwininfo -id "$list") ||
  { echo "the list is not override-redirect"; exit 1; }
expect_screen open --page "$page" --click $face_x,$face_y

xdotool mousemove --window "$win" $item_x $item_y click 1
expect_gone '^kvl popup$' "the list after choosing"
expect_screen chosen --page "$page" --click $face_x,$face_y --click $item_x,$item_y

kill -0 "$gallery_pid" || { echo "the gallery exited early"; cat "$out/gallery.log"; exit 1; }
echo "PASS"
