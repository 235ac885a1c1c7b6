#!/usr/bin/env bash
# The desktop saver with two monitors and its settings window by keyboard.
#   screens_keys.sh SCENARIO QUORVELIAN [SHOTS_FOLDER]
# Scenarios: two-monitors (needs the X server's dummy driver, skips without),
# keyboard (Xvfb).
set -uo pipefail

scenario=$1
QV=$2
shots=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../displays/two_monitors.sh"
for tool in Xvfb xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done

WORK=$(mktemp -d)
source "$here/../x_session.sh"
export XDG_CONFIG_HOME=$WORK/config
INI=$XDG_CONFIG_HOME/quorvelian/settings.ini
export LIBGL_ALWAYS_SOFTWARE=1
pid=""

cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  x_input_stop
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  qv_two_monitors_stop
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

expect_exit() {  # seconds what
  if wait_for "$1" gone "$pid"; then echo "ok: $2"; else fail "$2: still running"; fi
  wait "$pid" 2>/dev/null
  pid=""
}

two_monitors() {
  qv_two_monitors_start "$WORK"
  local rc=$?
  [ $rc -eq 77 ] && exit 77
  [ $rc -eq 0 ] || exit 1
  x_input_start
  xsetroot -solid white
  local first=1024x768+0+0 second=800x600+1024+0
  for ending in key mouse; do
    x_input mousemove 500 400
    "$QV" /s 2>"$WORK/err" &
    pid=$!
    check "$ending: saver window appears" wait_for 20 has_window 'Quorvelian ScreenSaver'
    check "$ending: scene drawn on the primary monitor" wait_for 20 scene_drawn "$first"
    covered() { below "$(lit "$(shot "sdl-two-monitors-$ending")" "$second")" 0.001; }
    wait_for 10 covered || fail "$ending: the second monitor still shows the desktop"
    if [ "$ending" = key ]; then
      x_input key space
    else
      x_input mousemove 1400 300
    fi
    expect_exit 10 "ends by $ending with two monitors"
    uncovered() { at_least "$(lit "$(shot "sdl-two-monitors-$ending-after")" "$second")" 0.9; }
    wait_for 10 uncovered || fail "$ending: the second monitor stays covered after the end"
  done
}

ini_is() {  # Name=value ...
  diff <(printf '%s\n' '[Quorvelian]' "$@") "$INI" >/dev/null
}

keyboard() {
  start_xvfb 640x480
  "$QV" /c 2>"$WORK/err" &
  pid=$!
  check "settings window appears" wait_for 20 has_window 'Quorvelian Settings'
  check "and draws" wait_for 20 scene_drawn 400x270+120+50
  shot sdl-keyboard-opened >/dev/null
  # First run: Fast 3, Bright 10, Satiation 5, Size 12, Snow 0, Frame 7.
  x_input key --delay 100 Right Right Tab Left Left Left Tab End Tab Home Tab Tab Right Tab
  next_frame 120 50 400 270
  shot sdl-keyboard-on-save >/dev/null
  x_input key space
  check "Space on the focused button saves" wait_for 5 ini_is Fast=5 Bright=7 Satiation=10 Size=0 \
    Snow=0 Frame=8 Clock=7
  x_input key Escape
  expect_exit 5 "Escape ends it"

  "$QV" /c 2>"$WORK/err" &
  pid=$!
  check "settings window appears again" wait_for 20 has_window 'Quorvelian Settings'
  check "and draws" wait_for 20 scene_drawn 400x270+120+50
  # Left one step down, Page Down a fifth of 0..10 up, then back past "Our Site".
  x_input key --delay 100 Left Next shift+Tab shift+Tab
  next_frame 120 50 400 270
  shot sdl-keyboard-back-on-save >/dev/null
  x_input key Return
  check "Shift+Tab back to Save Settings, Enter saves" wait_for 5 ini_is Fast=6 Bright=7 \
    Satiation=10 Size=0 Snow=0 Frame=8 Clock=7
  cp "$INI" "$WORK/saved"
  x_input key --delay 100 End Escape
  expect_exit 5 "Escape after a change"
  check "Escape saved nothing" cmp "$WORK/saved" "$INI"
}

case $scenario in
  two-monitors) two_monitors ;;
  keyboard) keyboard ;;
  *)
    echo "unknown scenario $scenario"
    exit 2
    ;;
esac
exit $failed
