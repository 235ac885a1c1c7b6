#!/usr/bin/env bash
# A preview hosted in another program's window for a long stretch: the render
# thread and the painting thread run side by side the whole time, then the
# host destroys its window mid-run, as a control panel does. Meant for the
# thread-sanitizer build, whose reports make the saver exit non-zero.
#   hosted_preview.sh QUORVELIAN X_HOST_WINDOW SECONDS
set -uo pipefail

QV=$1
HOSTWIN=$2
RUN_SECONDS=$3

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done

WORK=$(mktemp -d)
export XDG_CONFIG_HOME=$WORK/config
export LIBGL_ALWAYS_SOFTWARE=1
source "$(dirname "$0")/../x_session.sh"

cleanup() {
  x_input_stop
  [ -n "${QV_PID:-}" ] && kill "$QV_PID" 2>/dev/null
  [ -n "${HOST_PID:-}" ] && kill "$HOST_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

start_xvfb 640x480

coproc HOST { exec "$HOSTWIN" 200 150 20 20; }
read -r -t 10 -u "${HOST[0]}" HOST_ID || { echo "host window did not start"; exit 1; }
host_ask() {
  echo "$*" >&"${HOST[1]}"
  read -r -t 10 -u "${HOST[0]}" REPLY
}
host_lit() {
  host_ask pixels 0 0 200 150
  local lit total
  read -r _ lit total <<<"$REPLY"
  [ "${lit:-0}" -gt $((${total:-0} / 500)) ]
}
alive() { kill -0 "$QV_PID" 2>/dev/null; }

"$QV" /p "$HOST_ID" 2>"$WORK/err" &
QV_PID=$!
wait_for 60 host_lit || fail "the preview never drew into the host window"

# The whole stretch, checking now and then that it still runs and draws.
deadline=$((SECONDS + RUN_SECONDS))
while [ $SECONDS -lt $deadline ] && [ $failed -eq 0 ]; do
  sleep 1
  alive || fail "the preview ended on its own"
done
[ $failed -eq 0 ] && { host_lit || fail "the host window is black at the end"; }

host_ask destroy
if wait_for 20 gone "$QV_PID"; then
  wait "$QV_PID"; rc=$?
  QV_PID=
  [ "$rc" -eq 0 ] || fail "exit status $rc after the host window went away"
else
  fail "still running 20 s after the host window went away"
fi

[ $failed -eq 0 ] || exit 1
echo "ok: ${RUN_SECONDS} s hosted preview, ended with its host window"
