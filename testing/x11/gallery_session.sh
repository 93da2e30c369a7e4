# The start every real-window test of the gallery shares; sourced once $gallery is set.

# require_tools TOOL...: skips the test (exit 77) when a tool is missing; fails without a display.
require_tools() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (bash .ci/deps test installs it)"
      exit 77
    fi
  done
  [[ -n ${DISPLAY:-} ]] || { echo "no DISPLAY: run it through with_xvfb.sh"; exit 1; }
}

# start_gallery LOG ARGS...: the gallery in a window, killed when the test exits; sets
# gallery_pid and win (its window id).
start_gallery() {
  local log=$1
  shift
  "$gallery" "$@" >"$log" 2>&1 &
  gallery_pid=$!
  trap 'kill $gallery_pid 2>/dev/null || true' EXIT
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^kvl gallery$' | head -1)
  [[ -n $win ]] || { echo "the gallery window did not appear"; exit 1; }
}

# find_visible PATTERN: the id of the visible window named so, waiting up to 4 seconds; empty
# when none.
find_visible() {
  for _ in $(seq 40); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
}

# expect_gone PATTERN WHAT: fails unless no visible window is named so within 4 seconds.
expect_gone() {  # name pattern, what
  for _ in $(seq 40); do
    [[ -z $(xdotool search --onlyvisible --name "$1" 2>/dev/null || true) ]] && return 0
    sleep 0.1
  done
  echo "$2 is still shown"
  exit 1
}

origin() {  # window id -> "X Y" of its top-left on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'
}

# expect_screen NAME GALLERY-OPTIONS...: the screen where the window lies (popups over it
# included) looks as the headless rendering with the same options; uses $gallery, $compare,
# $out, $size and $win.
expect_screen() {
  local name=$1; shift
  "$gallery" --png "$out/$name-headless.png" --size "$size" "$@"
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

# open_page PAGE: the gallery in a 900x600 window on PAGE, focused; sets $size and $page for
# expect_screen, and logs to $out/gallery.log.
open_page() {
  require_tools xdotool xwd xwininfo
  size=900x600
  page=$1
  start_gallery "$out/gallery.log" --size "$size" --page "$page"
  xdotool windowfocus --sync "$win" || true
}
