#!/usr/bin/env bash
# Longer fuzz runs with fresh seeds, one target after another: `fuzz/hunt.sh [seconds] [name...]`.
# Crashes land in build/fuzz/hunt/<target>/ with the run's log; the committed seeds are read only.
set -uo pipefail
cd "$(dirname "$0")/.."
Seconds=${1:-120}
shift || true
Targets=("$@")
if [ ${#Targets[@]} -eq 0 ]; then
  for F in build/fuzz/fuzz/*_fuzz; do Targets+=("$(basename "$F")"); done
fi
export LSAN_OPTIONS=suppressions=$PWD/testing/lsan.supp
Failed=0
for T in "${Targets[@]}"; do
  Out=build/fuzz/hunt/$T
  mkdir -p "$Out/found"
  if build/fuzz/fuzz/"$T" -max_total_time="$Seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="$Out/" "$Out/found" "fuzz/corpus/$T" >"$Out/log" 2>&1; then
    echo "$T: clean"
  else
    echo "$T: FAILED, see $Out/log"
    Failed=1
  fi
done
exit $Failed
