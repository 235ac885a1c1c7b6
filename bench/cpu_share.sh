#!/usr/bin/env bash
# The full-screen saver's CPU share at its first-run settings against the
# floor program, side by side on two private 1024 x 768 X servers so that
# both see the same load on the machine. With a host-window program the
# saver draws into a 1024 x 768 window it is given, as under XScreenSaver.
#   [RUNS=N] cpu_share.sh QUORVELIAN FLOOR_WINDOW [SECONDS [X_HOST_WINDOW]]
# One run scatters by about +-0.1 in the ratio on a shared two-core machine;
# RUNS=N repeats the pair with fresh servers and ends with the median ratio.
set -uo pipefail
QV=$1
FLOOR=$2
SECONDS_TO_MEASURE=${3:-20}
HOSTWIN=${4:-}
RUNS=${RUNS:-1}
WORK=$(mktemp -d)
export LIBGL_ALWAYS_SOFTWARE=1
programs=()
servers=()
stop_all() {
  # Programs before their servers, so that none reports a lost display.
  for p in "${programs[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${programs[@]}"; do wait "$p" 2>/dev/null; done
  for p in "${servers[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${servers[@]}"; do wait "$p" 2>/dev/null; done
  programs=()
  servers=()
}
trap 'stop_all; rm -rf "$WORK"' EXIT

start_x() {  # name; sets DISPLAY_OF and SERVER_OF
  rm -f "$WORK/$1.fd"
  mkfifo "$WORK/$1.fd"
  Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$WORK/$1.fd" >/dev/null 2>&1 &
  SERVER_OF=$!
  servers+=($SERVER_OF)
  local n
  read -r -t 20 n <"$WORK/$1.fd" || { echo "Xvfb did not start"; exit 1; }
  DISPLAY_OF=":$n"
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure_pair() {  # writes "RATIO REPORT-LINE" to $WORK/pair
  start_x saver
  local saver_display=$DISPLAY_OF saver_server=$SERVER_OF
  start_x floor
  local floor_display=$DISPLAY_OF floor_server=$SERVER_OF
  if [ -n "$HOSTWIN" ]; then
    coproc HOST { DISPLAY=$saver_display exec "$HOSTWIN" 1024 768 0 0; }
    programs+=($HOST_PID)
    local host_id
    read -r -t 10 -u "${HOST[0]}" host_id || { echo "host window did not start"; exit 1; }
    XSCREENSAVER_WINDOW=$host_id XDG_CONFIG_HOME=$WORK/config DISPLAY=$saver_display "$QV" --root &
  else
    XDG_CONFIG_HOME=$WORK/config DISPLAY=$saver_display "$QV" /s &
  fi
  local saver=$!
  programs+=($saver)
  DISPLAY=$floor_display "$FLOOR" &
  local floor=$!
  programs+=($floor)
  sleep 3  # start-up (geometry, contexts) is not the steady state
  local s0 f0 xs0 xf0 s1 f1 xs1 xf1
  s0=$(ticks $saver) f0=$(ticks $floor) xs0=$(ticks $saver_server) xf0=$(ticks $floor_server)
  sleep "$SECONDS_TO_MEASURE"
  s1=$(ticks $saver) f1=$(ticks $floor) xs1=$(ticks $saver_server) xf1=$(ticks $floor_server)
  stop_all
  awk -v s=$((s1 - s0)) -v f=$((f1 - f0)) -v xs=$((xs1 - xs0)) -v xf=$((xf1 - xf0)) \
      -v t="$SECONDS_TO_MEASURE" -v hz="$(getconf CLK_TCK)" 'BEGIN {
    c = 100 / hz / t
    r = f > 0 ? s / f : 0
    printf "%.2f saver %.1f %% of a core, floor %.1f %%, ratio %.2f", r, s * c, f * c, r
    printf " (their X servers: %.1f %% and %.1f %%)\n", xs * c, xf * c }' >"$WORK/pair"
}

ratios=()
for ((run = 1; run <= RUNS; ++run)); do
  measure_pair
  read -r ratio report <"$WORK/pair"
  ratios+=("$ratio")
  echo "$report"
done
if ((RUNS > 1)); then
  printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END {
    m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
    printf "median ratio of %d runs: %.2f (from %.2f to %.2f)\n", NR, m, r[1], r[NR] }'
fi
