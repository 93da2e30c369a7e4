#!/usr/bin/env bash
# The table editor and the X clipboard: on the gallery's table editor page, Copy from the data
# menu puts the selection on the CLIPBOARD selection as text (read back with xclip), and
# Extract from Clipboard reads tab-separated text another program put there.
#   with_xvfb.sh ntabed_clipboard_test.sh KVL-GALLERY
set -euo pipefail
gallery=$1
out=$(mktemp -d)

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xclip

start_gallery "$out/gallery.log" --size 900x600 --page "Table editor"
xdotool windowfocus --sync "$win" || true

cell_x=380 cell_y=150           # a data cell inside the page's selection
menu_x=$((cell_x + 10 + 30))    # the data menu opens at the press + (10, -20)
menu_top=$((cell_y - 20))
item_y() { echo $((menu_top + 13 + ($1 - 1) * 22)); }   # centre of data-menu item N

choose() {  # item number
  xdotool mousemove --window "$win" $cell_x $cell_y click 3
  find_visible '^kvl popup$' >/dev/null
  sleep 0.3
  xdotool mousemove --window "$win" $menu_x "$(item_y "$1")"
  sleep 0.2
  xdotool click 1
  expect_gone '^kvl popup$' "the data menu"
  sleep 0.3
}

choose 7   # Copy
copied=$(xclip -o -selection clipboard)
[[ $copied == " "* && $copied == *$'\t'* ]] ||
  { echo "copied text is not the editor's layout: [$copied]"; exit 1; }
echo "copied $(wc -l <<<"$copied") lines"

printf '1.5\t2.5\r\n3.5\t4.5\r\n' | xclip -i -selection clipboard
choose 10  # Extract from Clipboard
choose 7   # Copy the block Extract selected
again=$(xclip -o -selection clipboard)
# Every line starts with the separator blank, then the sign position.
expected=$'  1.5000000000000E+0000\t 2.5000000000000E+0000\r\n  3.5000000000000E+0000\t 4.5000000000000E+0000'
[[ $again == "$expected"* ]] || { echo "extracted block reads back as: [$again]"; exit 1; }

kill -0 "$gallery_pid" || { echo "the gallery exited early"; cat "$out/gallery.log"; exit 1; }
echo "PASS"
