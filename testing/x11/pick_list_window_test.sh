#!/usr/bin/env bash
# A grid's pick list in a real X server: on the gallery's grids page the unit cell's editor
# drops its list below itself as an override-redirect window; a click on the second item
# closes the list and puts the item into the editor, and moving on stores it in the cell.
#   with_xvfb.sh pick_list_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
open_page "Grids"

cell_x=430 cell_y=399      # the "Unit" cell of the second parameter
button_x=457               # the editor's drop-down button in that cell
item_x=430 item_y=440      # the list's second item, "cm"
other_x=340 other_y=449    # another cell: moving there stores the edit
clicks=(--click $cell_x,$cell_y --click $cell_x,$cell_y --click $button_x,$cell_y)

# The first click selects the cell, the second (no double click) opens the editor.
xdotool mousemove --window "$win" $cell_x $cell_y click 1
sleep 0.7
xdotool mousemove --window "$win" $cell_x $cell_y click 1
sleep 0.3
xdotool mousemove --window "$win" $button_x $cell_y click 1
list=$(find_visible '^kvl popup$')
[[ -n $list ]] || { echo "no list window after the button"; exit 1; }
grep -q 'Override Redirect State: yes' < <(xwininfo -id "$list") ||
  { echo "the list is not override-redirect"; exit 1; }
read -r wx wy < <(origin "$win")
read -r lx ly < <(origin "$list")
echo "list: override-redirect at $((lx - wx)),$((ly - wy)) in the window"
expect_screen open --page "$page" "${clicks[@]}"

xdotool mousemove --window "$win" $item_x $item_y click 1
expect_gone '^kvl popup$' "the list after choosing"
expect_screen chosen --page "$page" "${clicks[@]}" --click $item_x,$item_y

xdotool mousemove --window "$win" $other_x $other_y click 1
expect_screen stored --page "$page" "${clicks[@]}" --click $item_x,$item_y --click $other_x,$other_y

kill -0 "$gallery_pid" || { echo "the gallery exited early"; cat "$out/gallery.log"; exit 1; }
echo "PASS"
