#!/usr/bin/env bash
# The dialogs page in a real X server: a warning message dialog closed by Escape reports
# "Cancel" as the headless rendering does; the colour dialog opens as a dialog window transient
# for the gallery, clicks on the gallery meanwhile change none of its pixels, and a colour typed
# into its hex field and confirmed with Enter shows in the page's swatch.
#   with_xvfb.sh dialogs_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
require_tools xdotool xwd xwininfo xprop python3

size=900x600
page="Dialogs"
start_gallery "$out/dialogs-gallery.log" --size "$size" --page "$page"
xdotool windowfocus --sync "$win" || true

# The page area starts at x 150: the colour button sits at 12,12 in it, the warning button at
# 12,56, the swatch at 180,12.
color_x=237 color_y=26
warning_x=237 warning_y=70
swatch_x=334 swatch_y=17

# expect_area NAME PNG X,Y: the screen at X,Y equals PNG, waiting up to 4 seconds.
expect_area() {
  local name=$1 png=$2 at=$3
  for _ in $(seq 40); do
    xwd -root -silent >"$out/$name-screen.xwd"
    if "$compare" "$out/$name-screen.xwd" "$png" "$out/$name-diff.png" "$at" \
        >"$out/$name-compare.txt"; then
      return 0
    fi
    sleep 0.1
  done
  echo "$name: the screen differs: $(cat "$out/$name-compare.txt")"
  exit 1
}

# Warning with OK and Cancel: Escape closes it; the window then equals the headless rendering
# of the same click, where the dialog ends as cancelled.
xdotool mousemove --window "$win" $warning_x $warning_y click 1
dialog=$(find_visible '^Warning$')
[[ -n $dialog ]] || { echo "no warning dialog after the click"; exit 1; }
xdotool windowfocus --sync "$dialog" || true
xdotool key Escape
expect_gone '^Warning$' "the warning dialog after Escape"
"$gallery" --png "$out/cancel-headless.png" --size "$size" --page "$page" \
  --click $warning_x,$warning_y
expect_area cancel "$out/cancel-headless.png" "$(origin "$win" | tr ' ' ',')"
echo "warning: Escape gives Cancel"

# The colour dialog: found by name, transient for the gallery and of the dialog type.
xdotool mousemove --window "$win" $color_x $color_y click 1
dialog=$(find_visible '^Color$')
[[ -n $dialog ]] || { echo "no colour dialog after the click"; exit 1; }
props=$(xprop -id "$dialog" WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE)
owner=$(printf '0x%x' "$win")
grep -q "WM_TRANSIENT_FOR(WINDOW): window id # $owner\$" <<<"$props" ||
  { echo "not transient for the gallery ($owner): $props"; exit 1; }
grep -q '_NET_WM_WINDOW_TYPE_DIALOG' <<<"$props" || { echo "not a dialog window: $props"; exit 1; }
echo "colour dialog: transient for the gallery, of the dialog type"

# Clicks on the gallery (a page name, a button) change none of its pixels.
sleep 0.3
xwd -id "$win" -silent >"$out/modal-before.xwd"
xdotool mousemove --window "$win" 60 15 click 1
xdotool mousemove --window "$win" $warning_x $warning_y click 1
sleep 0.5
xwd -id "$win" -silent >"$out/modal-after.xwd"
cmp -s "$out/modal-before.xwd" "$out/modal-after.xwd" ||
  { echo "the gallery changed under the modal dialog"; exit 1; }
[[ -z $(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null || true) ]] ||
  { echo "a click on the gallery opened a dialog under the modal one"; exit 1; }
echo "modal: the gallery takes no input"

# solid_png FILE RRGGBB: an 8 x 8 picture of one colour.
solid_png() {
  python3 - "$1" "$2" <<'PY'
import struct, sys, zlib
w = h = 8
rows = b"".join(b"\0" + bytes.fromhex(sys.argv[2]) * w for _ in range(h))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
open(sys.argv[1], "wb").write(png)
PY
}

# type_colour RRGGBB: the colour typed into the hex field (at 252,261 in the dialog) and Enter
# close the dialog, and the swatch shows it.
type_colour() {
  xdotool mousemove --window "$dialog" 290 271 click 1
  xdotool windowfocus --sync "$dialog" || true
  xdotool key End shift+Home
  xdotool type "#$1"
  xdotool key Return
  expect_gone '^Color$' "the colour dialog after Enter"
  solid_png "$out/swatch-$1.png" "$1"
  read -r wx wy < <(origin "$win")
  expect_area "swatch-$1" "$out/swatch-$1.png" "$((wx + swatch_x)),$((wy + swatch_y))"
  echo "colour dialog: the swatch shows #$1"
}

# The page starts at #3366CC: another colour first, so that the second one shows a change.
type_colour 20A040
xdotool mousemove --window "$win" $color_x $color_y click 1
dialog=$(find_visible '^Color$')
[[ -n $dialog ]] || { echo "no colour dialog after the second click"; exit 1; }
type_colour 3366CC

kill -0 "$gallery_pid" || { echo "the gallery exited early"; cat "$out/dialogs-gallery.log"; exit 1; }
echo "PASS"
