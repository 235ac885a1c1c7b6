#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, side by side, each from its
# committed seeds plus what earlier runs in this build folder found. A crash,
# a hang, a leak or a failed check fails the run; the input that caused it is
# kept as BUILD/fuzz-artifacts/TARGET-crash-... (or -timeout-, -leak-).
#   run.sh BUILD_DIR SECONDS
set -uo pipefail
BUILD=$1
SECONDS_EACH=$2
SRC=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

mkdir -p "$BUILD/fuzz-artifacts" "$BUILD/fuzz-logs"
pids=()
targets=(handles settings_file render_options)
for t in "${targets[@]}"; do
  corpus=$BUILD/fuzz-corpus/$t
  mkdir -p "$corpus"
  "$BUILD/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$BUILD/fuzz-artifacts/$t-" \
    "$corpus" "$SRC/corpus/$t" >"$BUILD/fuzz-logs/$t.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  if wait "${pids[$i]}"; then
    echo "fuzz_$t: $(grep -m1 -o 'Done [0-9]* runs in [0-9]* second(s)' "$BUILD/fuzz-logs/$t.log")"
  else
    failed=1
    echo "fuzz_$t FAILED; log: $BUILD/fuzz-logs/$t.log"
    grep -v '^#[0-9]' "$BUILD/fuzz-logs/$t.log" | tail -40
  fi
done
if [ $failed -ne 0 ]; then
  echo "reproducers:"; ls -1 "$BUILD/fuzz-artifacts"
fi
exit $failed
