#!/usr/bin/env bash
# Builds the Linux and both Windows targets and runs every test suite; then
# the Linux suites again under the sanitizers, the soak runs and the fuzzers.
# Arguments go to the first (plain) ctest run. QV_FUZZ_SECONDS sets each
# fuzzer's run (60 by default); QV_SKIP_CHECKS=1 stops after the plain suites.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
qv_install "${QV_BUILD_PACKAGES[@]}" "${QV_TEST_PACKAGES[@]}"
cd "$QV_ROOT"

# Every part runs even after another failed, so one run shows everything
# that is wrong; the command fails at the end.
timings=()
failed_parts=()
stage() {  # name, command...
  local name=$1; shift
  local start=$SECONDS
  echo "=== $name"
  local rc=0
  "$@" || rc=$?
  timings+=("$(printf '%-36s %4d s%s' "$name" $((SECONDS - start)) "$([ $rc -eq 0 ] || echo '  FAILED')")")
  [ $rc -eq 0 ] || failed_parts+=("$name")
}
summary() {
  echo "=== time per part"
  printf '%s\n' "${timings[@]}"
  printf '%-36s %4d s\n' "whole test command" "$SECONDS"
  if [ ${#failed_parts[@]} -ne 0 ]; then
    printf 'FAILED: %s\n' "${failed_parts[@]}"
    exit 1
  fi
}

# Sanitizer reports also come from processes whose exit status no test looks
# at (a saver a script kills); each lands as a file, and any file fails.
no_reports() {  # folder
  local reports=("$1"/*)
  [ -e "${reports[0]}" ] || return 0
  echo "sanitizer reports in $1:"
  for r in "${reports[@]}"; do echo "--- $r"; cat "$r"; done
  return 1
}
sanitized_ctest() {  # preset, jobs, ctest arguments...
  local preset=$1 jobs=$2; shift 2
  local reports=$QV_ROOT/build/$preset/sanitizer-reports
  mkdir -p "$reports"
  rm -f "$reports"/*
  local rc=0
  ctest --preset "$preset" -j "$jobs" "$@" || rc=$?
  no_reports "$reports" || rc=1
  return $rc
}

stage "build linux, win64, win32" qv_build linux win64 win32
stage "tests (linux preset)" ctest --preset linux -j 2 "$@"
if [ "${QV_SKIP_CHECKS:-0}" = 1 ]; then
  summary
  exit 0
fi
stage "build linux-asan" qv_build linux-asan
stage "tests under ASan+UBSan" sanitized_ctest linux-asan 2 -LE 'soak|e2e'
# One at a time: under the sanitizers a saver starts and ends several times
# slower, and the end-to-end waits are sized for a machine that is not full.
stage "end-to-end tests under ASan+UBSan" sanitized_ctest linux-asan 1 -L e2e
stage "soak under ASan+UBSan" sanitized_ctest linux-asan 2 -L soak
stage "build linux-tsan" qv_build linux-tsan
stage "preview tests under TSan" sanitized_ctest linux-tsan 1
stage "build fuzzers (clang)" qv_build linux-fuzz
stage "fuzzers" "$QV_ROOT/fuzz/run.sh" "$QV_ROOT/build/linux-fuzz" "${QV_FUZZ_SECONDS:-60}"
summary
