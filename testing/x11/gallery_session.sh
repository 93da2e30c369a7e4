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
