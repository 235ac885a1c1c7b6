# Sourced by the tests that run programs on a private X server: the checks
# they report with, waits on observable state, the server itself, and its
# pointer and keyboard. The sourcing script sets WORK (a scratch folder; a
# program's stderr there as $WORK/err is shown with every failure).
#   start_xvfb [WxH] [Xvfb arguments...]   exports DISPLAY, sets XVFB_PID,
#                                          opens the input connection
#   x_input COMMAND...    xdotool's commands ("mousemove 10 20 click 1",
#                         "key a"); returns once the server has handled them
#   x_input_start / x_input_stop   the input connection alone (other servers;
#                         a test without one ends)
#   shot, lit, scene_drawn, next_frame   what the screen shows

failed=0
X_INPUT_PID=""

fail() {
  echo "FAIL: $*"
  failed=1
  [ -s "$WORK/err" ] && sed 's/^/  stderr: /' "$WORK/err" | tail -n 20
  return 0
}
check() {  # description, command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# Polls until a command succeeds; false after `seconds`.
wait_for() {  # seconds, command...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}
# A process that has ended but is not yet reaped counts as gone: an orphan's
# reaper (here PID 1) may take seconds to collect it.
gone() {
  ! kill -0 "$1" 2>/dev/null && return 0
  local stat
  { stat=$(<"/proc/$1/stat"); } 2>/dev/null || return 0
  stat=${stat##*) }
  [ "${stat%% *}" = Z ]
}

# Exact title; xdotool's own search misses message boxes whose only names
# are UTF-8 ones.
window_named() {
  xwininfo -root -tree 2>/dev/null |
    awk -v t="\"$1\":" '$1 ~ /^0x/ && index($0, " " t) { print $1; exit }'
}
has_window() { [ -n "$(window_named "$1")" ]; }
geometry_of() {  # window id -> "W H X Y"
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print w, h, x, y}'
}

# A screenshot of the whole screen in WORK, kept in $shots too when the
# sourcing script names such a folder.
shot() {  # name -> path
  local path=$WORK/$1.png
  import -window root "$path" 2>/dev/null
  [ -n "${shots:-}" ] && mkdir -p "$shots" && cp "$path" "$shots/"
  echo "$path"
}
# Share of clearly lit pixels in a rectangle WxH+X+Y of a picture.
lit() { convert "$1" -crop "$2" +repage -colorspace gray -threshold 6% -format '%[fx:mean]' info:; }
at_least() { awk -v s="$1" -v m="$2" 'BEGIN { exit !(s >= m) }'; }
below() { awk -v s="$1" -v m="$2" 'BEGIN { exit !(s < m) }'; }
scene_drawn() {  # WxH+X+Y
  import -window root "$WORK/poll.png" 2>/dev/null && at_least "$(lit "$WORK/poll.png" "$1")" 0.001
}

# A digest of what a root-window rectangle shows.
picture_of() {  # x y w h
  import -window root -crop "$3x$4+$1+$2" +repage -depth 8 rgb:- 2>/dev/null | md5sum
}
# Waits until the rectangle shows a new frame: the loop has handled every
# event sent before, since a frame comes only after the events that were due.
next_frame() {  # x y w h
  local before
  before=$(picture_of "$@")
  wait_for 10 bash -c '[ "$(import -window root -crop "'"$3x$4+$1+$2"'" +repage -depth 8 rgb:- 2>/dev/null | md5sum)" != "$0" ]' "$before"
}

start_xvfb() {  # [WxH] [Xvfb arguments...]
  local size=${1:-640x480}
  shift
  local fifo=$WORK/displayfd
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 4 -screen 0 "${size}x24" -nolisten tcp "$@" 4>"$fifo" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local n
  if ! read -r -t 20 n <"$fifo"; then
    echo "Xvfb did not start"
    cat "$WORK/xvfb.log"
    exit 1
  fi
  export DISPLAY=:$n
  x_input_start
}

# Xvfb puts the pointer back where it was when the client that moved it
# disconnects, so a key or a click from a later client would land wherever
# that is (without a window manager the keyboard follows the pointer): all
# input goes through one xdotool connection that stays open.
x_input_start() {
  x_input_stop
  rm -f "$WORK/x-input.in" "$WORK/x-input.out"
  mkfifo "$WORK/x-input.in" "$WORK/x-input.out" || { echo "FAIL: no input connection to the X server"; exit 1; }
  xdotool - <"$WORK/x-input.in" >"$WORK/x-input.out" 2>"$WORK/x-input.err" &
  X_INPUT_PID=$!
  # Opened in the order xdotool's shell opens them, or both would block.
  exec {X_INPUT_TO}>"$WORK/x-input.in" {X_INPUT_FROM}<"$WORK/x-input.out"
}

x_input() {
  [ -n "$X_INPUT_PID" ] || { fail "x_input: no input connection"; return 1; }
  # Asking for the screens' size takes a round trip (Xinerama), so the reply
  # comes only after the server has handled every event sent before it. Not
  # where the pointer is: that also reads the window under it, and one that
  # has just gone ends xdotool with an X error. A connection that has died
  # (its server gone) is a failed command, not a broken pipe.
  # Input that never arrived would show only as a window that did not
  # react, so a lost connection is a failure of its own.
  local reply
  if ! (trap '' PIPE; printf '%s getdisplaygeometry\n' "$*" >&"$X_INPUT_TO") 2>/dev/null ||
    ! read -r -t 15 -u "$X_INPUT_FROM" reply || [[ ! $reply =~ ^[0-9]+\ [0-9]+$ ]]; then
    fail "input \"$*\" was not confirmed by the X server"
    [ -s "$WORK/x-input.err" ] && sed 's/^/  xdotool: /' "$WORK/x-input.err" | tail -n 5
    return 1
  fi
}

x_input_stop() {
  [ -n "$X_INPUT_PID" ] || return 0
  exec {X_INPUT_TO}>&- {X_INPUT_FROM}<&-
  kill "$X_INPUT_PID" 2>/dev/null
  wait "$X_INPUT_PID" 2>/dev/null
  X_INPUT_PID=""
}
