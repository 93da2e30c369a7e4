#!/usr/bin/env bash
# The row editor from the report list page in a real X window: a double click on a row opens
# the editor as a window of its own, titled after the row, near the place the page asks for;
# text typed into the name field and Enter close it, and the row holds and shows the text.
#   with_xvfb.sh row_editor_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xwd xwininfo

page="Report list"
size=900x600
log="$out/row-editor-events.log"
start_gallery "$out/row-editor-gallery.log" --size "$size" --page "$page" --event-log "$log"
xdotool windowfocus --sync "$win" || true

# Row 3's name cell (the page starts at x 150; the view at 10,28 in it). The first press of
# the double click selects the row, as a single click does in the headless rendering.
cell_x=270 cell_y=144
"$gallery" --png "$out/row-editor-before.png" --size "$size" --page "$page" --click "$cell_x,$cell_y"
xdotool mousemove --window "$win" $cell_x $cell_y click --repeat 2 --delay 60 1
dialog=$(find_visible '^Editing Row 3$')
[[ -n $dialog ]] || { echo "no window titled \"Editing Row 3\" after the double click"; exit 1; }

# The page asks for the view's client point 40,40: the window's 150 + 10 + 2 + 40, 28 + 2 + 40.
read -r wx wy < <(origin "$win")
read -r dx dy < <(origin "$dialog")
(( dx >= wx + 202 && dx <= wx + 242 && dy >= wy + 70 && dy <= wy + 110 )) ||
  { echo "the editor is at $dx,$dy, asked for $((wx + 202)),$((wy + 70))"; exit 1; }

# The name column is the first editable field, so it has the focus.
xdotool windowfocus --sync "$dialog" || true
xdotool key End shift+Home
xdotool type "Rowan tree"
xdotool key Return
expect_gone '^Editing Row' "the row editor"

for _ in $(seq 40); do
  grep -q -x "row editor 3: 1 Rowan tree" "$log" 2>/dev/null && break
  sleep 0.1
done
grep -q -x "row editor 3: 1 Rowan tree" "$log" ||
  { echo "the row does not hold the text; the log has: $(cat "$log")"; exit 1; }
# The window shows the new text: it differs from the rendering before the edit in that one
# cell (a few hundred pixels), nowhere else.
sleep 0.5
xwd -id "$win" -silent >"$out/row-editor-after.xwd"
if "$compare" "$out/row-editor-after.xwd" "$out/row-editor-before.png" \
    "$out/row-editor-diff.png" >"$out/row-editor-compare.txt"; then
  echo "the window still shows the row as before the edit"
  exit 1
fi
differ=$(awk '{print $1}' "$out/row-editor-compare.txt")
(( differ > 50 && differ < 2000 )) ||
  { echo "unexpected change: $(cat "$out/row-editor-compare.txt"); see $out/row-editor-diff.png"; exit 1; }
kill -0 "$gallery_pid" || { echo "the gallery exited early"; exit 1; }
echo "PASS"
