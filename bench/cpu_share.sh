#!/usr/bin/env bash
# The full-screen saver's CPU share at its first-run settings against the
# floor program, side by side on two private 1024 x 768 X servers so that
# both see the same load on the machine.
#   cpu_share.sh QUORVELIAN FLOOR_WINDOW [SECONDS]
set -uo pipefail
QV=$1
FLOOR=$2
SECONDS_TO_MEASURE=${3:-20}
WORK=$(mktemp -d)
export LIBGL_ALWAYS_SOFTWARE=1
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

start_x() {  # name -> display in DISPLAY_<name>
  mkfifo "$WORK/$1.fd"
  Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$WORK/$1.fd" >/dev/null 2>&1 &
  pids+=($!)
  read -r -t 20 n <"$WORK/$1.fd" || { echo "Xvfb did not start"; exit 1; }
  echo ":$n"
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

saver_display=$(start_x saver)
floor_display=$(start_x floor)
XDG_CONFIG_HOME=$WORK/config DISPLAY=$saver_display "$QV" /s &
saver=$!; pids+=($saver)
DISPLAY=$floor_display "$FLOOR" &
floor=$!; pids+=($floor)
sleep 3  # start-up (geometry, contexts) is not the steady state
s0=$(ticks $saver); f0=$(ticks $floor)
sleep "$SECONDS_TO_MEASURE"
s1=$(ticks $saver); f1=$(ticks $floor)
hz=$(getconf CLK_TCK)
awk -v s=$((s1 - s0)) -v f=$((f1 - f0)) -v t="$SECONDS_TO_MEASURE" -v hz="$hz" 'BEGIN {
  printf "saver %.1f %% of a core, floor %.1f %%, ratio %.2f\n",
         100 * s / hz / t, 100 * f / hz / t, f > 0 ? s / f : 0 }'
