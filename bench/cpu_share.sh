#!/usr/bin/env bash
# The full-screen saver's CPU share at its first-run settings against the
# floor program, side by side on two private 1024 x 768 X servers so that
# both see the same load on the machine. With a host-window program the
# saver draws into a 1024 x 768 window it is given, as under XScreenSaver.
#   cpu_share.sh QUORVELIAN FLOOR_WINDOW [SECONDS [X_HOST_WINDOW]]
set -uo pipefail
QV=$1
FLOOR=$2
SECONDS_TO_MEASURE=${3:-20}
HOSTWIN=${4:-}
WORK=$(mktemp -d)
export LIBGL_ALWAYS_SOFTWARE=1
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

start_x() {  # name; sets DISPLAY_OF and SERVER_OF
  mkfifo "$WORK/$1.fd"
  Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$WORK/$1.fd" >/dev/null 2>&1 &
  SERVER_OF=$!
  pids+=($SERVER_OF)
  local n
  read -r -t 20 n <"$WORK/$1.fd" || { echo "Xvfb did not start"; exit 1; }
  DISPLAY_OF=":$n"
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

start_x saver
saver_display=$DISPLAY_OF saver_server=$SERVER_OF
start_x floor
floor_display=$DISPLAY_OF floor_server=$SERVER_OF
if [ -n "$HOSTWIN" ]; then
  coproc HOST { DISPLAY=$saver_display exec "$HOSTWIN" 1024 768 0 0; }
  pids+=($HOST_PID)
  read -r -t 10 -u "${HOST[0]}" host_id || { echo "host window did not start"; exit 1; }
  XSCREENSAVER_WINDOW=$host_id XDG_CONFIG_HOME=$WORK/config DISPLAY=$saver_display "$QV" --root &
else
  XDG_CONFIG_HOME=$WORK/config DISPLAY=$saver_display "$QV" /s &
fi
saver=$!; pids+=($saver)
DISPLAY=$floor_display "$FLOOR" &
floor=$!; pids+=($floor)
sleep 3  # start-up (geometry, contexts) is not the steady state
s0=$(ticks $saver); f0=$(ticks $floor); xs0=$(ticks $saver_server); xf0=$(ticks $floor_server)
sleep "$SECONDS_TO_MEASURE"
s1=$(ticks $saver); f1=$(ticks $floor); xs1=$(ticks $saver_server); xf1=$(ticks $floor_server)
hz=$(getconf CLK_TCK)
awk -v s=$((s1 - s0)) -v f=$((f1 - f0)) -v xs=$((xs1 - xs0)) -v xf=$((xf1 - xf0)) \
    -v t="$SECONDS_TO_MEASURE" -v hz="$hz" 'BEGIN {
  c = 100 / hz / t
  printf "saver %.1f %% of a core, floor %.1f %%, ratio %.2f", s * c, f * c, (f > 0 ? s / f : 0)
  printf " (their X servers: %.1f %% and %.1f %%)\n", xs * c, xf * c }'
