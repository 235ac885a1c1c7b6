#!/usr/bin/env bash
# End-to-end runs of the desktop saver under a private X server.
#   e2e.sh SCENARIO QUORVELIAN X_HOST_WINDOW [SOURCE_DIR BUILD_DIR]
# Every scenario starts its own Xvfb on a display number the server picks,
# so tests run side by side. Waits poll with timeouts; nothing sleeps longer
# than the thing it waits for needs.
set -uo pipefail

scenario=$1
QV=$2
HOSTWIN=$3
SRC=${4:-}
BLD=${5:-}

for tool in Xvfb xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done

WORK=$(mktemp -d)
source "$(dirname "$0")/../x_session.sh"
export XDG_CONFIG_HOME=$WORK/config
INI=$XDG_CONFIG_HOME/quorvelian/settings.ini
export LIBGL_ALWAYS_SOFTWARE=1
pids=()

cleanup() {
  x_input_stop
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  local host_pid=${HOST_PID:-}
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

start_x() { start_xvfb 640x480 "$@"; }
now_ms() { date +%s%3N; }

# Fraction of pixels that are not black in a root-window rectangle.
lit_fraction() {  # x y w h
  import -window root -crop "$3x$4+$1+$2" +repage "$WORK/shot.png" 2>/dev/null
  convert "$WORK/shot.png" -colorspace gray -threshold 0 -format '%[fx:mean]' info:
}
not_black() { awk -v f="$(lit_fraction "$@")" 'BEGIN { exit !(f > 0.002) }'; }

# Waits for the process to end within MS milliseconds and checks its status.
expect_exit_ms() {  # pid, ms, wanted status ("0" or "nonzero"), description
  local deadline=$(($(now_ms) + $2))
  while kill -0 "$1" 2>/dev/null; do
    if [ "$(now_ms)" -ge "$deadline" ]; then
      fail "$4: still running after $2 ms"; kill -9 "$1" 2>/dev/null; wait "$1" 2>/dev/null; return
    fi
    sleep 0.02
  done
  wait "$1"; local rc=$?
  if [ "$3" = nonzero ]; then
    check "$4 (exit $rc)" test "$rc" -ne 0 -a "$rc" -lt 128
  else
    check "$4 (exit $rc)" test "$rc" -eq "$3"
  fi
}

# Waits for the process to end and checks its exit status.
expect_exit() {  # pid, seconds, wanted status ("0" or "nonzero"), description
  if ! wait_for "$2" gone "$1"; then fail "$4: still running after $2 s"; kill "$1"; return; fi
  wait "$1"; local rc=$?
  if [ "$3" = nonzero ]; then
    check "$4 (exit $rc)" test "$rc" -ne 0
  else
    check "$4 (exit $rc)" test "$rc" -eq "$3"
  fi
}

write_ini() {
  mkdir -p "$(dirname "$INI")"
  printf '%s\n' "$@" >"$INI"
}

# Return, then a click on OK (centred, 28 pixels above the bottom edge) for
# boxes that take no keys while their owner window is still unmapped.
key_closes() {
  x_input key Return
  wait_for 1 bash -c '! xwininfo -root -tree | grep -qF " \"$0\":"' "$1" && return 0
  x_input mousemove "$2" "$3" click 1
  wait_for 1 bash -c '! xwininfo -root -tree | grep -qF " \"$0\":"' "$1"
}

# Dismisses the error box titled $1 with its OK key, checking that it showed.
dismiss_box() {  # title, pid
  if ! wait_for 15 has_window "$1"; then fail "no message box titled \"$1\""; return; fi
  echo "ok: message box titled \"$1\""
  local box
  box=$(window_named "$1")
  read -r w h x y <<<"$(geometry_of "$box")"
  # Without a window manager the keyboard follows the pointer.
  x_input mousemove $((x + w / 2)) $((y + h / 2))
  wait_for 5 key_closes "$1" $((x + w / 2)) $((y + h - 28)) ||
    fail "the box did not go away on Return"
}

host_start() {  # width height x y
  coproc HOST { exec "$HOSTWIN" "$@"; }
  read -r -t 10 -u "${HOST[0]}" HOST_ID || { echo "host window did not start"; exit 1; }
}
host_ask() {  # command -> reply in REPLY
  echo "$*" >&"${HOST[1]}"
  read -r -t 10 -u "${HOST[0]}" REPLY
}
host_has_child() {  # name
  host_ask child
  [[ $REPLY == *" $1" ]]
}
host_lit() {  # x y w h: true when more than a few pixels are lit
  host_ask pixels "$@"
  local lit total
  read -r _ lit total <<<"$REPLY"
  [ "$lit" -gt $((total / 500)) ]
}


no_child() { ! host_has_child "$1"; }
host_stop() {
  # Bash forgets a coprocess's variables once it has ended, and its pipes do
  # not reach subshells; a host whose server has gone may never read a quit.
  local host_pid=${HOST_PID:-}
  [ -n "$host_pid" ] || return 0
  kill -9 "$host_pid" 2>/dev/null
  wait "$host_pid" 2>/dev/null
}

# The saver in one of its modes: s, c, popup (/p alone), host (/p inside a
# host window) and root (XScreenSaver's window); sets pid.
MODES="s c popup host root"
start_mode() {  # mode
  case $1 in
    host | root) host_start 160 120 40 40 ;;
  esac
  case $1 in
    s) "$QV" /s 2>"$WORK/err" & ;;
    c) "$QV" /c 2>"$WORK/err" & ;;
    popup) "$QV" /p 2>"$WORK/err" & ;;
    host) "$QV" /p "$HOST_ID" 2>"$WORK/err" & ;;
    root) XSCREENSAVER_WINDOW=$HOST_ID "$QV" --root 2>"$WORK/err" & ;;
  esac
  pid=$!; pids+=($pid)
}
# True once the mode's picture (or, with a damaged settings file, its error
# box) is up.
mode_up() {  # mode [box]
  if [ "${2:-}" = box ]; then has_window Quorvelian; return; fi
  case $1 in
    s) has_window 'Quorvelian ScreenSaver' && not_black 0 0 640 480 ;;
    c) has_window 'Quorvelian Settings' && not_black 120 50 400 270 ;;
    popup) has_window ZiZoved && not_black 0 0 320 240 ;;
    host | root) host_lit 0 0 160 120 ;;
  esac
}
# Any window the saver makes: its own, its error box, its preview child.
windows_of_ours() {
  xwininfo -root -tree 2>/dev/null |
    grep -E '"(Quorvelian ScreenSaver|Quorvelian Settings|ZiZoved|Quorvelian|Error)":'
}
no_windows_of_ours() { [ -z "$(windows_of_ours)" ]; }

case $scenario in
fullscreen-mouse)
  start_x
  x_input mousemove 320 240
  "$QV" /s 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "full-screen window appears" wait_for 20 has_window 'Quorvelian ScreenSaver'
  read -r w h x y <<<"$(geometry_of "$(window_named 'Quorvelian ScreenSaver')")"
  check "covers the screen (${w}x${h}+${x}+${y})" test "$w $h $x $y" = "640 480 0 0"
  check "scene is drawn" wait_for 20 not_black 0 0 640 480
  check "first run wrote the full-screen defaults" diff <(printf '%s\n' '[Quorvelian]' Fast=5 \
    Bright=10 Satiation=5 Size=7 Snow=0 Frame=5 Clock=5) "$INI"
  x_input mousemove 325 245
  next_frame 0 0 640 480
  check "survives a move of 5 and 5 pixels" kill -0 $pid
  x_input mousemove 315 240
  next_frame 0 0 640 480
  check "survives a move of 5 pixels the other way" kill -0 $pid
  x_input mousemove 326 240
  expect_exit $pid 5 0 "ends on a 6-pixel move"
  ;;
fullscreen-key)
  start_x
  write_ini Fast=2 Bright=4 Satiation=9 Size=3 Snow=4 Frame=2 Clock=11
  cp "$INI" "$WORK/before"
  x_input mousemove 320 240
  "$QV" /s 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "full-screen window appears" wait_for 20 has_window 'Quorvelian ScreenSaver'
  check "scene is drawn" wait_for 20 not_black 0 0 640 480
  x_input click 1
  next_frame 0 0 640 480
  check "a click without movement does not end it" kill -0 $pid
  x_input key space
  expect_exit $pid 5 0 "ends on a key press"
  check "stored settings left alone" cmp "$WORK/before" "$INI"
  ;;
settings)
  start_x
  "$QV" /c 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "settings window appears" wait_for 20 has_window 'Quorvelian Settings'
  read -r w h x y <<<"$(geometry_of "$(window_named 'Quorvelian Settings')")"
  check "is 400 x 440 (${w}x${h})" test "$w $h" = "400 440"
  check "centred ($x, $y)" test "$x $y" = "120 20"
  check "scene area is drawn" wait_for 20 not_black "$x" $((y + 30)) 400 270
  check "first run wrote the settings-window defaults" diff <(printf '%s\n' '[Quorvelian]' \
    Fast=3 Bright=10 Satiation=5 Size=12 Snow=0 Frame=7 Clock=7) "$INI"
  # Speed's slider spans x 3..123 at y 320; its right end is position 10.
  x_input mousemove $((x + 120)) $((y + 325)) click 1
  next_frame "$x" $((y + 30)) 400 270
  # "Save Settings": 110 x 20 at (9, 375).
  x_input mousemove $((x + 64)) $((y + 385)) click 1
  check "Save Settings stores the moved slider" wait_for 5 grep -qx Fast=10 "$INI"
  check "and the six others" diff <(printf '%s\n' '[Quorvelian]' Fast=10 Bright=10 \
    Satiation=5 Size=12 Snow=0 Frame=7 Clock=7) "$INI"
  # A click gives Speed the keyboard: three steps left (7), a page up (10 / 5 = 2 less).
  x_input mousemove $((x + 120)) $((y + 325)) click 1
  next_frame "$x" $((y + 30)) 400 270
  x_input key Left Left Left Prior
  next_frame "$x" $((y + 30)) 400 270
  x_input mousemove $((x + 64)) $((y + 385)) click 1
  check "keys move the focused slider like a trackbar" wait_for 5 grep -qx Fast=5 "$INI"
  cp "$INI" "$WORK/saved"
  # Colour's slider (256..376, y 357) to its left end, then Escape: not saved.
  x_input mousemove $((x + 258)) $((y + 362)) click 1
  next_frame "$x" $((y + 30)) 400 270
  x_input key Escape
  expect_exit $pid 5 0 "Escape ends it"
  check "Escape saved nothing" cmp "$WORK/saved" "$INI"
  ;;
settings-errors)
  start_x
  # A value missing: the box, then the window opens at its design size.
  write_ini '; kept by hand' '[Quorvelian]' Fast=4 Bright=6 Satiation=3 Size=9 Snow=2 Frame=3
  cp "$INI" "$WORK/before"
  "$QV" /c 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  dismiss_box Quorvelian $pid
  check "says \"Failed to get data for 'Clock'\"" grep -q "Failed to get data for 'Clock'" "$WORK/err"
  check "window still opens" wait_for 20 has_window 'Quorvelian Settings'
  read -r w h x y <<<"$(geometry_of "$(window_named 'Quorvelian Settings')")"
  check "at its design size (${w}x${h})" test "$w $h" = "414 440"
  x_input mousemove $((x + 200)) $((y + 200))
  x_input key Escape
  expect_exit $pid 5 0 "Escape ends it"
  check "the file is not rewritten" cmp "$WORK/before" "$INI"

  # A file its owner made read-only: "Save Settings" says it cannot, keeps it.
  write_ini '; mine' '[Quorvelian]' Fast=4 Bright=6 Satiation=3 Size=9 Snow=2 Frame=3 Clock=1
  chmod 444 "$INI"
  cp "$INI" "$WORK/before"
  "$QV" /c 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "window opens" wait_for 20 has_window 'Quorvelian Settings'
  read -r w h x y <<<"$(geometry_of "$(window_named 'Quorvelian Settings')")"
  # A drawn scene says the loop runs and the controls are laid out.
  check "scene area is drawn" wait_for 20 not_black "$x" $((y + 30)) 400 270
  x_input mousemove $((x + 64)) $((y + 385)) click 1
  dismiss_box Quorvelian $pid
  check "says \"Failed to set data for 'Fast'\"" grep -q "Failed to set data for 'Fast'" "$WORK/err"
  check "the read-only file is kept" cmp "$WORK/before" "$INI"
  check "and stays read-only" test "$(stat -c %a "$INI")" = 444
  check "nothing is left beside it" test "$(ls -A "$(dirname "$INI")")" = settings.ini
  x_input mousemove $((x + 200)) $((y + 200))
  x_input key Escape
  expect_exit $pid 5 0 "Escape ends it"
  chmod 644 "$INI"

  # A damaged value in the full-screen saver.
  write_ini '[Quorvelian]' Fast=5 Bright=10 Satiation=5 Size=seven Snow=0 Frame=5 Clock=5
  cp "$INI" "$WORK/before"
  "$QV" /s 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  dismiss_box Quorvelian $pid
  check "says \"Invalid data type for 'Size'\"" grep -q "Invalid data type for 'Size'" "$WORK/err"
  # The abandoned creation never took the cursor's start position, so the
  # pointer's move to the box already counts as a movement: it ends at once.
  x_input key space
  expect_exit $pid 10 0 "ends normally after the box"
  check "the file is not rewritten" cmp "$WORK/before" "$INI"

  # Garbage that is not a settings file at all never crashes it.
  head -c 3000 /dev/urandom >"$INI"
  cp "$INI" "$WORK/before"
  "$QV" /s 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  dismiss_box Quorvelian $pid
  x_input key space
  expect_exit $pid 10 0 "ends normally after garbage"
  check "the garbage is kept, not replaced" cmp "$WORK/before" "$INI"
  ;;
preview-host)
  start_x
  host_start 160 120 40 40
  "$QV" /p "$HOST_ID" 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "child \"ZiZoved\" appears in the host window" wait_for 20 host_has_child ZiZoved
  check "the child draws" wait_for 20 host_lit 0 0 160 120
  check "the registry-free preview wrote no settings" test ! -e "$INI"
  host_ask destroy
  expect_exit_ms $pid 1000 0 "ends within a second when the host destroys its window"
  ;;
preview-popup)
  start_x
  "$QV" /p 12ab 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "pop-up \"ZiZoved\" appears" wait_for 20 has_window ZiZoved
  read -r w h x y <<<"$(geometry_of "$(window_named ZiZoved)")"
  check "320 x 240 at the corner (${w}x${h}+${x}+${y})" test "$w $h $x $y" = "320 240 0 0"
  check "pop-up draws" wait_for 20 not_black 0 0 320 240
  x_input mousemove 100 100
  next_frame 0 0 320 240
  x_input mousemove 200 150 click 1
  next_frame 0 0 320 240
  check "mouse movement and clicks do not end it" kill -0 $pid
  x_input key a
  expect_exit $pid 3 0 "a key ends it"
  ;;
xscreensaver)
  start_x
  host_start 160 120 100 100
  dec=$((HOST_ID))
  XSCREENSAVER_WINDOW=$dec "$QV" --root 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "draws into the window named in decimal" wait_for 20 host_lit 0 0 160 120
  check "opens no window of its own" test -z "$(window_named 'Quorvelian ScreenSaver')"
  host_ask resize 320 240
  check "follows a resize of that window" wait_for 10 host_lit 160 120 160 120
  kill -TERM $pid
  expect_exit_ms $pid 1000 0 "ends within a second of SIGTERM"

  # The window still shows the last run's frame: new frames are the proof.
  XSCREENSAVER_WINDOW=$HOST_ID "$QV" --root 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "draws into the window named in hexadecimal" next_frame 100 100 320 240
  kill -INT $pid
  expect_exit_ms $pid 1000 0 "ends within a second of SIGINT"

  XSCREENSAVER_WINDOW=$HOST_ID "$QV" --window-id "$HOST_ID" 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  check "the settings dialog's preview form draws" next_frame 100 100 320 240
  host_ask destroy
  expect_exit_ms $pid 1000 0 "ends within a second when the window is destroyed"

  XSCREENSAVER_WINDOW=not-a-window "$QV" --root 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  expect_exit $pid 5 nonzero "a garbage id is refused"
  check "with a message naming it" grep -q "not-a-window is not an X window id" "$WORK/err"
  XSCREENSAVER_WINDOW=0x7fffff0 "$QV" --root 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  expect_exit $pid 5 nonzero "an id that is no window is refused"
  check "with a message" grep -q "does not exist" "$WORK/err"
  ;;
no-visual)
  # A server without GLX offers no OpenGL visual at all.
  start_x -extension GLX
  "$QV" /s 2>"$WORK/err" &
  pid=$!; pids+=($pid)
  dismiss_box Error $pid
  expect_exit $pid 5 nonzero "ends with a failure status"
  check "and says why" grep -q "OpenGL" "$WORK/err"
  ;;
ending)
  # Every mode ends with 0 within a second of SIGTERM or SIGINT, also while
  # an error box is up, and leaves no window behind.
  start_x
  # Also while it is still starting: as soon as it catches the signal. A
  # step of start-up (loading the GL driver, the geometry) is not cut short,
  # and on a loaded machine one takes more than a second by itself.
  catches_term() { (($(awk '/^SigCgt:/ { print "0x" $2 }' "/proc/$1/status" 2>/dev/null) & 0x4000)); }
  for mode in s c popup; do
    rm -f "$INI"
    start_mode $mode
    if wait_for 10 catches_term $pid; then
      kill -TERM $pid
      expect_exit_ms $pid 3000 0 "$mode ends within 3 s of SIGTERM during its start"
      check "$mode leaves no window after SIGTERM during its start" wait_for 1 no_windows_of_ours
    else
      fail "$mode never catches SIGTERM"; kill -9 $pid 2>/dev/null
    fi
  done
  for box in none box; do
    for mode in $MODES; do
      # The preview reads no settings, and under XScreenSaver they come from
      # the command line: neither has a box to show.
      [ $box = box ] && case $mode in popup | host | root) continue ;; esac
      for sig in TERM INT; do
        rm -f "$INI"
        [ $box = box ] && write_ini '[Quorvelian]' Fast=5 Bright=10 Satiation=5 Size=7 Snow=0 Frame=5
        start_mode $mode
        if wait_for 20 mode_up $mode $box; then
          kill -$sig $pid
          expect_exit_ms $pid 1000 0 "$mode (box: $box) ends within a second of SIG$sig"
          check "$mode (box: $box) leaves no window after SIG$sig" wait_for 1 no_windows_of_ours
        else
          fail "$mode (box: $box) did not come up"; kill -9 $pid 2>/dev/null
        fi
        host_stop
      done
    done
  done
  ;;
killed)
  # SIGKILL gives the saver no chance to clean up: none of its windows, its
  # error box included, may outlive it by more than a second.
  start_x
  for mode in $MODES s-box c-box; do
    rm -f "$INI"
    box=none
    case $mode in *-box)
      box=box; mode=${mode%-box}
      write_ini '[Quorvelian]' Fast=5 Bright=10 Satiation=5 Size=7 Snow=0 Frame=5 ;;
    esac
    start_mode $mode
    if wait_for 20 mode_up $mode $box; then
      kill -KILL $pid
      wait $pid 2>/dev/null
      check "$mode (box: $box): no window of ours a second after SIGKILL" wait_for 1 no_windows_of_ours
      case $mode in host) check "no child left in the host" no_child ZiZoved ;; esac
    else
      fail "$mode (box: $box) did not come up"; kill -9 $pid 2>/dev/null
    fi
    host_stop
  done
  ;;
no-display)
  # No display to draw on: one line, nothing written, a failure within 2 s.
  free=99
  while [ -e /tmp/.X11-unix/X$free ]; do free=$((free + 1)); done
  for display in unset ":$free" "no-such-host.invalid:0"; do
    for args in /s /c /p "/p 1234" --root; do
      rm -rf "$XDG_CONFIG_HOME"
      if [ "$display" = unset ]; then
        env -u DISPLAY -u WAYLAND_DISPLAY XSCREENSAVER_WINDOW=$([ "$args" = --root ] && echo 0x200001) \
          "$QV" $args 2>"$WORK/err" &
      else
        env -u WAYLAND_DISPLAY DISPLAY="$display" \
          XSCREENSAVER_WINDOW=$([ "$args" = --root ] && echo 0x200001) "$QV" $args 2>"$WORK/err" &
      fi
      pid=$!; pids+=($pid)
      expect_exit_ms $pid 2000 nonzero "DISPLAY $display, $args: fails within 2 s"
      check "DISPLAY $display, $args: one line on stderr" test "$(wc -l <"$WORK/err")" -eq 1
      check "DISPLAY $display, $args: that says so" grep -q '^cannot open the display' "$WORK/err"
      check "DISPLAY $display, $args: nothing written" test ! -e "$XDG_CONFIG_HOME"
    done
  done
  ;;
x-lost)
  # The X server killed under the saver: one line, a failure status, never
  # a crash. QV_X_LOST_TRIES runs, the modes taken in turn.
  tries=${QV_X_LOST_TRIES:-10}
  crashes=0
  modes=($MODES)
  for i in $(seq "$tries"); do
    mode=${modes[$(((i - 1) % ${#modes[@]}))]}
    start_x
    start_mode $mode
    if ! wait_for 20 mode_up $mode; then
      fail "try $i: $mode did not come up"; kill -9 $pid 2>/dev/null; kill -9 $XVFB_PID; wait 2>/dev/null
      continue
    fi
    kill -KILL $XVFB_PID
    # No promptness is promised here, only an end: a bound that a loaded
    # machine keeps, well short of a hang.
    if ! wait_for 10 gone $pid; then
      fail "try $i: $mode still runs 10 s after the X server went"; kill -9 $pid
    fi
    wait $pid; rc=$?
    if [ $rc -ge 128 ]; then
      crashes=$((crashes + 1)); fail "try $i: $mode died of signal $((rc - 128))"; cat "$WORK/err"
    elif [ $rc -eq 0 ]; then
      fail "try $i: $mode ended with 0 after losing its display"
    elif ! grep -q 'lost the connection to the X display' "$WORK/err"; then
      fail "try $i: $mode said: $(cat "$WORK/err")"
    fi
    host_stop
    wait $XVFB_PID 2>/dev/null
  done
  check "$tries tries, $crashes crashes" test $crashes -eq 0
  ;;
install)
  prefix=$WORK/prefix
  cmake --install "$BLD" --prefix "$prefix" >/dev/null || fail "cmake --install"
  check "bin/quorvelian" test -x "$prefix/bin/quorvelian"
  xml=$prefix/share/xscreensaver/config/quorvelian.xml
  check "XScreenSaver configuration" test -s "$xml"
  check "man page in section 6" test -s "$prefix/share/man/man6/quorvelian.6.gz"
  if command -v xmllint >/dev/null; then
    check "configuration is well-formed XML" xmllint --noout "$xml"
  fi
  check "the module runs with --root" grep -q '<command arg="--root"/>' "$xml"
  check "its name is the program's" grep -q '<screensaver name="quorvelian"' "$xml"
  ;;
*)
  echo "unknown scenario $scenario"; exit 2 ;;
esac

exit $failed
