#!/usr/bin/env bash
# Popup windows in a real X server: the gallery's context menu opens at the pointer as an
# override-redirect window, a chosen item acts, Escape and a press outside close it without
# effect (that press goes nowhere, the next one does), and a hint window shows after resting.
#   with_xvfb.sh popup_window_test.sh KVL-GALLERY XWD-COMPARE OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 out=$3
mkdir -p "$out"

source "$(dirname "$0")/gallery_session.sh"
open_page "Standard controls"

status_x=300 status_y=310  # the status line with the context menu
units_x=340 units_y=346    # its second item, "Show units"

open_menu() {
  xdotool mousemove --window "$win" $status_x $status_y click 3
  popup=$(find_visible '^kvl popup$')
  [[ -n $popup ]] || { echo "no popup window after the right click"; exit 1; }
}

expect_screen start --page "$page"

open_menu
info=$(xwininfo -id "$popup")
grep -q 'Override Redirect State: yes' <<<"$info" || { echo "the popup is not override-redirect"; exit 1; }
read -r wx wy < <(origin "$win")
read -r px py < <(origin "$popup")
if [[ $px -ne $((wx + status_x)) || $py -ne $((wy + status_y)) ]]; then
  echo "the popup is at $px,$py, the pointer at $((wx + status_x)),$((wy + status_y))"
  exit 1
fi
echo "popup: override-redirect at the pointer"
# The window with the menu over it looks as the headless rendering after the same click.
expect_screen open --page "$page" --click $status_x,$status_y,right

xdotool mousemove --window "$win" $units_x $units_y click 1
expect_gone '^kvl popup$' "the menu after choosing"
chosen=(--page "$page" --click $status_x,$status_y,right --click $units_x,$units_y)
expect_screen chosen "${chosen[@]}"

open_menu
xdotool windowfocus --sync "$win" || true
xdotool key Escape
expect_gone '^kvl popup$' "the menu after Escape"
expect_screen escaped "${chosen[@]}"

# A press outside (on the page list's first row) closes the menu and goes nowhere; the next
# press is delivered again (the grab is gone) and shows the first page.
open_menu
xdotool mousemove --window "$win" 60 15 click 1
expect_gone '^kvl popup$' "the menu after a press outside"
expect_screen outside "${chosen[@]}"
xdotool mousemove --window "$win" 60 15 click 1
pages=$("$gallery" --list | head -1)
expect_screen next-press --page "$pages"

# Back on the page: rest on the Beep button for a second, a hint shows; moving off hides it.
xdotool mousemove --window "$win" 60 37 click 1
xdotool mousemove --window "$win" 320 222
sleep 0.2
xdotool mousemove --window "$win" 325 224
hint=$(find_visible '^kvl hint$')
[[ -n $hint ]] || { echo "no hint window after resting on the button"; exit 1; }
echo "hint: shown after resting"
xdotool mousemove --window "$win" 700 500
expect_gone '^kvl hint$' "the hint after moving away"

kill -0 "$gallery_pid" || { echo "the gallery exited early"; cat "$out/gallery.log"; exit 1; }
echo "PASS"
