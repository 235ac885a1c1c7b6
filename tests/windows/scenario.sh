#!/usr/bin/env bash
# One end-to-end scenario of quorvelian.scr under Wine on its own Xvfb
# display and its own copy of the template prefix.
#   scenario.sh <x86_64 build folder> <template prefix> <scenario>
set -u -o pipefail
export QV_WIN_BUILD=$1 QV_TEMPLATE=$2
scenario=$3
source "$(dirname "$0")/wine_env.sh"
qv_need_wine
qv_need_template
qv_new_prefix
qv_start_display

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {  # description command...
  local what=$1
  shift
  "$@" || fail "$what"
}

readonly FULL_SCREEN_DEFAULTS="Bright=0xa Clock=0x5 Fast=0x5 Frame=0x5 Satiation=0x5 Size=0x7 Snow=0x0 "
readonly SETTINGS_DEFAULTS="Bright=0xa Clock=0x7 Fast=0x3 Frame=0x7 Satiation=0x5 Size=0xc Snow=0x0 "

# At least `min` of the region's pixels lit (awk compares the reals).
expect_lit() {  # what png geometry min
  local share
  share=$(qv_lit_share "$2" "$3")
  echo "$1: lit share $share of $3"
  awk -v s="$share" -v m="$4" 'BEGIN { exit !(s >= m) }' || fail "$1 is black (lit share $share < $4)"
}

expect_settings() {  # what expected
  local actual
  actual=$(qv_settings)
  [ "$actual" = "$2" ] || fail "$1: registry holds '$actual', expected '$2'"
}

system32="$WINEPREFIX/drive_c/windows/system32"
use_password() {
  wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f \
    >/dev/null 2>&1 || fail "cannot switch the screen-saver password on"
}

SECONDS=0
case $scenario in
  settings)
    out=$(qv_probe_with_shot "$QV_WORK/shot.png" settings) || fail "probe: settings"
    echo "$out"
    expect_settings "first run of the settings window" "$SETTINGS_DEFAULTS"
    scene=$(echo "$out" | awk '$1 == "region" && $2 == "scene" {print $3}')
    label=$(echo "$out" | awk '$1 == "region" && $2 == "label" {print $3}')
    if [ -n "$scene" ] && [ -f "$QV_WORK/shot.png" ]; then
      expect_lit "the settings window's scene" "$QV_WORK/shot.png" "$scene" 0.002
      # Light text on black: the scene must not have painted over it.
      expect_lit "the \"Speed\" label" "$QV_WORK/shot.png" "$label" 0.05
    else
      fail "no screenshot of the settings window"
    fi
    ;;
  settings-save)
    qv_set_settings Fast=25 Bright=4 Satiation=0 Size=0xfffffffd Snow=9 Frame=12 Clock=99
    qv_probe settings-save || fail "probe: settings-save"
    expect_settings "after \"Save Settings\"" \
      "Bright=0x4 Clock=0x63 Fast=0xa Frame=0x9 Satiation=0x2 Size=0x0 Snow=0x9 "
    ;;
  fullscreen-mouse)
    qv_probe_with_shot "$QV_WORK/shot.png" fullscreen-mouse || fail "probe: fullscreen-mouse"
    expect_settings "first run of the saver" "$FULL_SCREEN_DEFAULTS"
    if [ -f "$QV_WORK/shot.png" ]; then
      expect_lit "the full-screen scene" "$QV_WORK/shot.png" 600x500+212+134 0.001
    else
      fail "no screenshot of the saver"
    fi
    ;;
  fullscreen-key)
    qv_probe fullscreen-key || fail "probe: fullscreen-key"
    ;;
  password-refused)
    # The stand-in in the system folder refuses every password: the saver
    # must go on until the system closes it.
    use_password
    cp "$QV_WIN_BUILD/tests/PASSWORD.CPL" "$system32/PASSWORD.CPL"
    qv_probe fullscreen-refused || fail "probe: fullscreen-refused"
    ;;
  password-planted)
    # The same refusing library beside the saver and in the folder it runs
    # from, but not in the system folder: it must not be loaded, so the first
    # key ends the saver.
    use_password
    mkdir -p "$QV_WORK/app" "$QV_WORK/cwd"
    cp "$QV_WIN_BUILD/quorvelian.scr" "$QV_WIN_BUILD/tests/PASSWORD.CPL" "$QV_WORK/app/"
    cp "$QV_WIN_BUILD/tests/PASSWORD.CPL" "$QV_WORK/cwd/"
    [ ! -e "$system32/PASSWORD.CPL" ] || fail "the template has a PASSWORD.CPL of its own"
    (cd "$QV_WORK/cwd" && wine "$QV_WIN_BUILD/tests/qv_saver_probe.exe" \
      "$(qv_winpath "$QV_WORK/app/quorvelian.scr")" fullscreen-key) || fail "probe: planted library"
    ;;
  clock-missing)
    qv_set_settings Fast=5 Bright=10 Satiation=5 Size=7 Snow=0 Frame=5
    before=$(qv_settings)
    qv_probe clock-missing-s || fail "probe: clock-missing, saver"
    qv_probe clock-missing-c || fail "probe: clock-missing, settings window"
    expect_settings "nothing written after the failed read" "$before"
    ;;
  preview-child)
    report="$QV_WORK/preview.txt"
    QUORVELIAN_PREVIEW_PIXEL_REPORT=$(qv_winpath "$report") \
      wine "$QV_WIN_BUILD/tests/qv_preview_host.exe" \
      "$(qv_winpath "$QV_WIN_BUILD/tests/quorvelian-report.scr")" 3 ||
      fail "preview host"
    # Under Wine a GL child of another process's window is never shown, so
    # the preview's own back buffer is what can be checked.
    if [ -f "$report" ]; then
      cat "$report"
      read -r _ frames _ lit _ width height < <(tr -d '\r' <"$report")
      [ "$width" = 152 ] && [ "$height" = 112 ] || fail "the preview drew at ${width}x$height"
      # Three seconds at one frame per 40 ms is at most about 75 frames; a
      # loaded machine may paint fewer, so the floor only proves it keeps
      # painting, while the ceiling proves the 40 ms pacing.
      [ "$frames" -ge 10 ] || fail "only $frames preview frames in three seconds"
      [ "$frames" -le 80 ] || fail "$frames preview frames in three seconds: not paced at 40 ms"
      [ "$lit" -ge 170 ] || fail "the preview is black ($lit lit pixels)"
    else
      fail "the preview drew no frame"
    fi
    [ -z "$(qv_settings)" ] || fail "the preview wrote settings"
    ;;
  preview-popup)
    qv_probe preview-popup || fail "probe: preview-popup"
    qv_probe preview-garbage || fail "probe: preview-garbage"
    ;;
  change-password)
    for handle in 1234 abc; do
      timeout 20 wine "$QV_WIN_BUILD/quorvelian.scr" /a "$handle"
      rc=$?
      [ "$rc" = 0 ] || fail "/a $handle ended with $rc"
    done
    [ -z "$(qv_settings)" ] || fail "the password change wrote settings"
    ;;
  win32-checks)
    mkdir -p "$QV_WORK/checks"
    cp "$QV_WIN_BUILD/tests/qv_win32_checks.exe" "$QV_WIN_BUILD/tests/PASSWORD.CPL" "$QV_WORK/checks/"
    wine "$QV_WORK/checks/qv_win32_checks.exe" | tr -d '\r' || fail "win32 checks"
    ;;
  *)
    echo "unknown scenario $scenario"
    exit 2
    ;;
esac
echo "$scenario: $failures failure(s) in ${SECONDS}s"
[ "$failures" -eq 0 ]
