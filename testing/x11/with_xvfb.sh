#!/usr/bin/env bash
# Runs a command under a private Xvfb server on a free display number, then stops the server.
#   with_xvfb.sh COMMAND [ARGS...]
# Exits 77 (a skip for CTest) when Xvfb is not installed.
set -euo pipefail
if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb is not installed (bash .ci/deps test installs it)"
  exit 77
fi
display=""
for n in $(seq 91 150); do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then display=$n; break; fi
done
[[ -n $display ]] || { echo "no free X display number"; exit 1; }
# -noreset: the server must not restart (and refuse connections) whenever its last client goes.
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 100); do [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.05; done
DISPLAY=":$display" "$@"
