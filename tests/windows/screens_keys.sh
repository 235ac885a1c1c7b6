#!/usr/bin/env bash
# quorvelian.scr under Wine as users of scaled displays, of several monitors
# and of the keyboard meet it.
#   screens_keys.sh <x86_64 build folder> <template prefix> <scenario> [shots folder]
# Scenarios: two-monitors, dpi-96, dpi-144, fullscreen-144, dpi-change, keyboard. With a shots folder the
# screenshots taken are kept there.
set -u -o pipefail
export QV_WIN_BUILD=$1 QV_TEMPLATE=$2
scenario=$3
shots=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/../displays/two_monitors.sh"
qv_need_wine
command -v xdotool >/dev/null || qv_skip "xdotool not installed"
qv_need_template
qv_new_prefix
scr=$QV_WIN_BUILD/quorvelian.scr

WORK=$QV_WORK
source "$here/../x_session.sh"

finish() {
  [ -n "${SCR_PID:-}" ] && kill "$SCR_PID" 2>/dev/null
  x_input_stop
  qv_two_monitors_stop
  qv_cleanup
}
trap finish EXIT

start_display() {
  qv_start_display
  x_input_start
}

# "W H X Y" of the first X window with this exact name.
window_geometry() {
  local id
  id=$(window_named "$1")
  [ -n "$id" ] && geometry_of "$id"
}

# The 96 DPI settings window, centred on 1024 x 768, shows its first frame.
settings_drawn() { scene_drawn 400x300+312+194; }

start_scr() {  # arguments...
  wine "$scr" "$@" &
  SCR_PID=$!
}

# Ends within `seconds`, else a failure and the process is stopped.
expect_end() {  # what seconds
  if wait_for "$2" gone "$SCR_PID"; then
    echo "ok: $1"
  else
    fail "$1: still running after $2 s"
    kill "$SCR_PID" 2>/dev/null
  fi
  wait "$SCR_PID" 2>/dev/null
  SCR_PID=""
}

# The second monitor shows a white desktop; the saver must hide it.
two_monitors() {
  qv_two_monitors_start "$QV_WORK"
  local rc=$?
  [ $rc -eq 77 ] && exit 77
  [ $rc -eq 0 ] || exit 1
  x_input_start
  xsetroot -solid white
  local second=800x600+1024+0 first=1024x768+0+0

  for ending in key mouse; do
    x_input mousemove 500 400
    start_scr /s
    if ! wait_for 60 has_window "Quorvelian ScreenSaver"; then
      fail "no saver window"
      return
    fi
    # The first frames take a moment under Wine, and the window may be
    # painted plain before GL draws into it: look for the scene and the
    # cover in one and the same screenshot, and wait for both.
    local png scene_lit cover_lit
    scene_on_primary() { at_least "$scene_lit" 0.0002 && below "$scene_lit" 0.5; }
    cover_on_second() { below "$cover_lit" 0.001; }
    scene_shown() {
      png=$(shot "two-monitors-$ending")
      scene_lit=$(lit "$png" "$first")
      cover_lit=$(lit "$png" "$second")
      scene_on_primary && cover_on_second
    }
    wait_for 20 scene_shown
    echo "$ending: primary lit share $scene_lit, second monitor lit share $cover_lit"
    scene_on_primary || fail "$ending: the primary monitor shows no scene"
    cover_on_second || fail "$ending: the second monitor still shows the desktop"
    if [ "$ending" = key ]; then
      x_input key space
    else
      # Over the cover, far more than five pixels away.
      x_input mousemove 1400 300
    fi
    expect_end "the saver ends by $ending with two monitors" 20
    uncovered() { at_least "$(lit "$(shot "two-monitors-$ending-after")" "$second")" 0.9; }
    wait_for 10 uncovered || fail "$ending: the second monitor stays covered after the end"
  done
}

set_dpi() {  # dpi
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 &&
    wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
    fail "cannot set LogPixels"
  wineserver -w
}

# The settings window at a display scaling: its outer size and the scene's
# area grow by DPI / 96.
settings_at_dpi() {  # dpi
  local dpi=$1
  set_dpi "$dpi"
  start_display
  start_scr /c
  if ! wait_for 60 has_window "Quorvelian Settings"; then
    fail "no settings window at $dpi DPI"
    return
  fi
  local w h x y
  local want_w=$(((400 * dpi + 48) / 96)) want_h=$(((440 * dpi + 48) / 96))
  # Wine maps the window first and sizes it for the DPI right after.
  scaled() { [ "$(window_geometry "Quorvelian Settings" | cut -d' ' -f1,2)" = "$want_w $want_h" ]; }
  wait_for 30 scaled
  read -r w h x y < <(window_geometry "Quorvelian Settings")
  echo "settings window at $dpi DPI: ${w}x$h at $x,$y"
  [ "$w" = "$want_w" ] && [ "$h" = "$want_h" ] || fail "window ${w}x$h at $dpi DPI, expected ${want_w}x$want_h"
  # The scene fills the window's width above the controls; it must reach
  # into the strip that only a scaled scene covers (beyond 400 pixels
  # wide), and the window must still be centred on the 1024 x 768 screen.
  local scene_h=$((h - (140 * dpi + 48) / 96))
  local top=$((y + h - scene_h - (110 * dpi + 48) / 96))
  echo "scene area ${w}x$scene_h at $x,$top"
  scene_shown() { at_least "$(lit "$(shot "settings-$dpi")" "${w}x${scene_h}+$x+$top")" 0.002; }
  wait_for 30 scene_shown || fail "the scene is black at $dpi DPI"
  [ $((x + w / 2)) -ge 500 ] && [ $((x + w / 2)) -le 524 ] || fail "window not centred (left $x)"
  x_input key Escape
  expect_end "Escape ends the settings window at $dpi DPI" 20
}

# Keys only: change four sliders, save with Space on the focused button, end
# with Escape; then once more backwards with Shift+Tab and Enter.
keyboard() {
  start_display
  start_scr /c
  wait_for 60 has_window "Quorvelian Settings" || { fail "no settings window"; return; }
  wait_for 30 settings_drawn || fail "the settings window draws nothing"
  shot keyboard-opened >/dev/null
  # First run: Fast 3, Bright 10, Satiation 5, Size 12, Snow 0, Frame 7.
  x_input key --delay 150 Right Right Tab Left Left Left Tab End Tab Home Tab Tab Right Tab
  next_frame 312 194 400 300
  shot keyboard-on-save >/dev/null
  x_input key space
  local got want="Bright=0x7 Clock=0x7 Fast=0x5 Frame=0x8 Satiation=0xa Size=0x0 Snow=0x0 "
  saved_as() { [ "$(qv_settings)" = "$1" ]; }
  wait_for 30 saved_as "$want"
  x_input key Escape
  expect_end "Escape ends the settings window" 20
  got=$(qv_settings)
  [ "$got" = "$want" ] || fail "after the keys the registry holds '$got'"

  start_scr /c
  wait_for 60 has_window "Quorvelian Settings" || { fail "no settings window (second run)"; return; }
  wait_for 30 settings_drawn || fail "the settings window draws nothing (second run)"
  # Left one step down, Page Down a fifth of 0..10 up, then back from "Speed" past
  # "Our Site" to "Save Settings".
  x_input key --delay 150 Left Next shift+Tab shift+Tab
  next_frame 312 194 400 300
  shot keyboard-back-on-save >/dev/null
  x_input key Return
  want="Bright=0x7 Clock=0x7 Fast=0x6 Frame=0x8 Satiation=0xa Size=0x0 Snow=0x0 "
  wait_for 30 saved_as "$want"
  x_input key Escape
  expect_end "Escape ends the settings window (second run)" 20
  got=$(qv_settings)
  [ "$got" = "$want" ] || fail "after Shift+Tab and Enter the registry holds '$got'"

  # Escape without saving keeps what is stored.
  start_scr /c
  wait_for 60 has_window "Quorvelian Settings" || { fail "no settings window (third run)"; return; }
  wait_for 30 settings_drawn || fail "the settings window draws nothing (third run)"
  x_input key --delay 150 End Escape
  expect_end "Escape after a change" 20
  [ "$(qv_settings)" = "$got" ] || fail "Escape saved: '$(qv_settings)'"
}

# The saver at a display scaling still covers the whole screen, pixel for
# pixel, and draws across all of it.
fullscreen_at_dpi() {  # dpi
  set_dpi "$1"
  start_display
  x_input mousemove 500 400
  start_scr /s
  wait_for 60 has_window "Quorvelian ScreenSaver" || { fail "no saver window at $1 DPI"; return; }
  wait_for 20 scene_drawn 1024x768+0+0 || fail "no frame drawn at $1 DPI"
  local w h x y
  read -r w h x y < <(window_geometry "Quorvelian ScreenSaver")
  echo "saver window at $1 DPI: ${w}x$h at $x,$y"
  [ "$w $h $x $y" = "1024 768 0 0" ] || fail "the saver covers ${w}x$h at $x,$y, not the 1024x768 screen"
  # The scene is centred on the whole screen: flowers reach the lower right
  # quarter, which a picture drawn for a smaller virtual screen leaves black.
  quarter_lit() { at_least "$(lit "$(shot "fullscreen-$1")" 512x384+512+384)" 0.0005; }
  wait_for 30 quarter_lit "$1" || fail "the lower right quarter is black at $1 DPI"
  x_input key space
  expect_end "a key ends the saver at $1 DPI" 20
}

# Opened at 96 DPI, then told it shows at 144 (a move to a monitor of
# another scaling): it grows about its centre to the 144 DPI layout.
settings_dpi_change() {
  start_display
  start_scr /c
  wait_for 60 has_window "Quorvelian Settings" || { fail "no settings window"; return; }
  local w h x y
  at_96() { [ "$(window_geometry "Quorvelian Settings" | cut -d' ' -f1,2)" = "400 440" ]; }
  wait_for 30 at_96
  # Drawing shows the window has handled its creation and is ready for the
  # announcement.
  wait_for 30 settings_drawn || fail "the settings window draws nothing"
  read -r w h x y < <(window_geometry "Quorvelian Settings")
  [ "$w $h" = "400 440" ] || fail "opened at ${w}x$h, not 400x440"
  wine "$QV_WIN_BUILD/tests/qv_dpi_change.exe" "Quorvelian Settings" 144 | tr -d '\r' ||
    fail "could not announce the new DPI"
  grown() { [ "$(window_geometry "Quorvelian Settings" | cut -d' ' -f1,2)" = "600 660" ]; }
  wait_for 10 grown || fail "after the change the window is $(window_geometry "Quorvelian Settings")"
  # The size and the place may arrive as two changes.
  centred() { [ "$(window_geometry "Quorvelian Settings")" = "600 660 212 54" ]; }
  wait_for 10 centred
  read -r w h x y < <(window_geometry "Quorvelian Settings")
  echo "after the change: ${w}x$h at $x,$y"
  # The old centre (512, 384) stays.
  [ "$x $y" = "212 54" ] || fail "the window moved its centre: at $x,$y, expected 212,54"
  changed_scene() { at_least "$(lit "$(shot settings-dpi-change)" "${w}x450+$x+$((y + h - 450 - 165))")" 0.002; }
  wait_for 30 changed_scene || fail "the scene is black after the change"
  # The keyboard still walks the re-laid controls: Speed one up, then
  # "Save Settings".
  x_input key --delay 150 Right Tab Tab Tab Tab Tab Tab space
  speed_saved() { [[ "$(qv_settings)" == *Fast=0x4* ]]; }
  wait_for 30 speed_saved || fail "Speed and Save Settings by keyboard after the change: '$(qv_settings)'"
  x_input key Escape
  expect_end "Escape ends the settings window after the change" 20
}

SECONDS=0
case $scenario in
  two-monitors) two_monitors ;;
  dpi-96) settings_at_dpi 96 ;;
  dpi-144) settings_at_dpi 144 ;;
  fullscreen-144) fullscreen_at_dpi 144 ;;
  dpi-change) settings_dpi_change ;;
  keyboard) keyboard ;;
  *)
    echo "unknown scenario $scenario"
    exit 2
    ;;
esac
echo "$scenario: $([ $failed -eq 0 ] && echo passed || echo failed) in ${SECONDS}s"
exit $failed
