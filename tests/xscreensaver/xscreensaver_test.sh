#!/usr/bin/env bash
# The installed module under the real XScreenSaver daemon and its settings
# program, on a private X server.
#   xscreensaver_test.sh daemon|settings BUILD_DIR
# XScreenSaver refuses to run modules as root, so under root everything of
# XScreenSaver's runs as the unprivileged user `nobody`, with its own HOME.
set -uo pipefail

scenario=$1
BLD=$2

for tool in Xvfb xscreensaver xscreensaver-command xscreensaver-settings xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done

WORK=$(mktemp -d)
chmod 755 "$WORK"
source "$(dirname "$0")/../x_session.sh"
pids=()

cleanup() {
  x_input_stop
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

start_x() { start_xvfb "${1:-800x600}"; }

# The package's files, laid out as on a Debian system, under $WORK/root.
install_package() {
  DESTDIR=$WORK/root cmake --install "$BLD" --prefix /usr >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log"; echo "FAIL: cmake --install"; exit 1; }
  chmod -R a+rX "$WORK/root"
}

USER_HOME=$WORK/home
mkdir -p "$USER_HOME"
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$USER_HOME" 2>/dev/null || chown nobody "$USER_HOME"
  AS_USER=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
else
  AS_USER=()
fi
# A clean environment for XScreenSaver's programs: the user's HOME and a
# PATH in which the module the package installed comes first.
as_user() {
  "${AS_USER[@]}" env -i HOME="$USER_HOME" DISPLAY="$DISPLAY" LIBGL_ALWAYS_SOFTWARE=1 \
    PATH="${MODULE_DIR:+$MODULE_DIR:}/usr/bin:/bin" "$@"
}

write_init_file() {  # programs line
  cat >"$USER_HOME/.xscreensaver" <<EOF
mode:		one
selected:	0
timeout:	0:30:00
lock:		False
splash:		False
fade:		False
unfade:		False
programs:	GL: $1 \\n
EOF
  chmod a+r "$USER_HOME/.xscreensaver"
}

# The process id of the module running as exactly this command line.
module_pid() {  # argv words...
  local want p
  want=$(printf '%s\0' "$@" | tr '\0' ' ')
  for p in $(pgrep -x quorvelian); do
    [ "$(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null)" = "$want" ] && { echo "$p"; return 0; }
  done
  return 1
}
running_as() { module_pid "$@" >/dev/null; }

# Fraction of a window's pixels that are not black.
lit_fraction() {  # window
  import -window "$1" "$WORK/shot.png" 2>/dev/null || { echo 0; return; }
  convert "$WORK/shot.png" -colorspace gray -threshold 0 -format '%[fx:mean]' info:
}
# Points light a few hundred pixels of 800 x 600 while they fade in.
window_lit() { awk -v f="$(lit_fraction "$1")" 'BEGIN { exit !(f > 0.0002) }'; }

case $scenario in
daemon)
  start_x
  install_package
  MODULE_DIR=$WORK/root/usr/libexec/xscreensaver
  as_user xscreensaver -no-splash -verbose >"$WORK/daemon.log" 2>&1 &
  pids+=($!)
  check "the daemon answers" wait_for 60 as_user xscreensaver-command -time

  # A damaged settings file: reading it would show an error; writing it
  # would change it.
  ini=$USER_HOME/.config/quorvelian/settings.ini
  mkdir -p "$(dirname "$ini")"
  printf '%s\n' '[Quorvelian]' Fast=seven Bright=10 >"$ini"
  cp "$ini" "$WORK/ini.before"
  [ "$(id -u)" -eq 0 ] && chown -R nobody "$USER_HOME/.config"

  # Two activations: quads without the frame rate, then points with it.
  # Quads leave solid areas that survive an erosion of the picture by a
  # 5 x 5 square; single points do not.
  for run in quads points; do
    if [ $run = quads ]; then
      argv=(quorvelian --root --speed 8 --size 14 --primitive 6)
    else
      argv=(quorvelian --root --size 14 --primitive 0 --fps)
    fi
    write_init_file "${argv[*]}"
    as_user xscreensaver-command -activate >/dev/null
    check "$run: -activate starts the installed module with the init file's options" \
      wait_for 20 running_as "${argv[@]}"
    pid=$(module_pid "${argv[@]}")
    [ -n "$pid" ] || continue
    check "$run: it runs as the unprivileged user" \
      test "$(stat -c %U "/proc/$pid")" = "$(as_user id -un)"
    window=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
    check "$run: the daemon names its window (${window:-none})" test -n "$window"
    read -r w h <<<"$(xwininfo -id "$window" 2>/dev/null |
      awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')"
    check "$run: that window covers the screen (${w}x${h})" test "$w $h" = "800 600"
    check "$run: the module draws into the daemon's window" wait_for 20 window_lit "$window"
    # Shares of the newest look at the window: solid areas (what survives an
    # erosion) and writing in the lower left corner.
    look() {
      import -window "$window" "$WORK/$run.png" 2>/dev/null || return 1
      solid=$(convert "$WORK/$run.png" -crop 400x300+200+150 +repage -colorspace gray \
        -threshold 0 -morphology Erode Square:2 -format '%[fx:mean]' info:)
      corner=$(convert "$WORK/$run.png" -crop 240x70+0+530 +repage -colorspace gray \
        -threshold 30% -format '%[fx:mean]' info:)
    }
    solid=0 corner=0
    share_above() { look && awk -v f="${!1}" -v m="$2" 'BEGIN { exit !(f > m) }'; }
    share_below() { awk -v f="${!1}" -v m="$2" 'BEGIN { exit !(f < m) }'; }
    # The slots fade in over 40 frames and a frame rate is known after a
    # second: the absent thing is looked for once the present one shows.
    if [ $run = quads ]; then
      check "quads: solid areas" wait_for 20 share_above solid 0.01
      check "quads: nothing in the lower left corner without --fps ($corner)" share_below corner 0.002
    else
      check "points: --fps writes in the lower left corner" wait_for 20 share_above corner 0.01
      check "points: no solid areas (share $solid after erosion)" share_below solid 0.001
    fi
    check "$run: opens no window of its own" \
      bash -c "! xwininfo -root -tree | grep -q '\"Quorvelian ScreenSaver\"'"
    as_user xscreensaver-command -deactivate >/dev/null
    check "$run: -deactivate ends it within 3 s" wait_for 3 gone "$pid"
  done
  check "the settings file is not written under XScreenSaver" cmp -s "$WORK/ini.before" "$ini"
  check "nor read (no complaint about it)" \
    bash -c "! grep -E 'Invalid data type|Failed to get data' '$WORK/daemon.log'"
  ;;
settings)
  # xscreensaver-settings reads module descriptions only from
  # /usr/share/xscreensaver/config and lists modules found in
  # /usr/libexec/xscreensaver. Show it the package's files there through a
  # private mount namespace, so the system itself is never touched.
  if [ "$(id -u)" -ne 0 ] || ! unshare --mount true 2>/dev/null; then
    echo "SKIP: needs root and mount namespaces to show the settings program the package's files"
    exit 77
  fi
  command -v xdotool >/dev/null || { echo "SKIP: xdotool not installed"; exit 77; }
  # Its main window fills a 1280-pixel screen; the places clicked below
  # were taken from that layout.
  start_x 1280x1024
  install_package
  for d in config libexec; do mkdir -p "$WORK/view/$d"; done
  ln -s /usr/share/xscreensaver/config/* "$WORK/view/config/" 2>/dev/null
  ln -s /usr/libexec/xscreensaver/* "$WORK/view/libexec/" 2>/dev/null
  cp "$WORK/root/usr/share/xscreensaver/config/quorvelian.xml" "$WORK/view/config/"
  # The package's link is relative (../../bin/quorvelian); from the view
  # it must still reach the installed program.
  ln -s "$WORK/root/usr/bin/quorvelian" "$WORK/view/libexec/quorvelian"
  chmod -R a+rX "$WORK/view"

  # The settings program reads the command line of the init file through
  # the module's description: options at their default values are dropped
  # from the preview's command line, all others are kept, and options the
  # description does not know would stay as they were.
  run_settings() {  # programs line
    write_init_file "$1"
    unshare --mount --propagation private bash -c '
      mount --bind "$1/view/config" /usr/share/xscreensaver/config &&
      mount --bind "$1/view/libexec" /usr/libexec/xscreensaver || exit 1
      shift; exec "$@"' _ "$WORK" "${AS_USER[@]}" env -i HOME="$USER_HOME" DISPLAY="$DISPLAY" \
      LIBGL_ALWAYS_SOFTWARE=1 PATH=/usr/bin:/bin xscreensaver-settings --debug \
      >"$WORK/settings.log" 2>&1 &
    SETTINGS_PID=$!
    pids+=($SETTINGS_PID)
  }
  # The command lines it previews once it has read the description.
  has_preview() {
    local seen
    seen=$(awk '/reading .*config\/quorvelian.xml/ { read = 1 }
         read && sub(/.*scheduling preview "/, "") { sub(/"$/, ""); print }' "$WORK/settings.log")
    grep -qxF "$1" <<<"$seen"
  }

  defaults="quorvelian --root --speed 5 --brightness 10 --satiation 5 --size 7 --primitive 6 --color 5 --fps"
  run_settings "$defaults"
  check "xscreensaver-settings reads the module's description" \
    wait_for 30 grep -q 'reading /usr/share/xscreensaver/config/quorvelian.xml' "$WORK/settings.log"
  check "its defaults are the first-run values and it knows primitive and frame rate" \
    wait_for 20 has_preview "quorvelian --root --primitive 6 --fps"
  check "it finds nothing to warn about" bash -c "! grep -i 'warning.*quorvelian' '$WORK/settings.log'"
  check "it previews the module in its own window" \
    wait_for 20 grep -q 'forked [0-9]* (quorvelian)' "$WORK/settings.log"
  kill "$SETTINGS_PID" 2>/dev/null; wait "$SETTINGS_PID" 2>/dev/null

  others="quorvelian --root --speed 0 --brightness 3 --satiation 10 --size 14 --primitive 9 --color 1"
  run_settings "$others"
  check "every other value of every setting is kept" wait_for 30 has_preview "$others"
  kill "$SETTINGS_PID" 2>/dev/null; wait "$SETTINGS_PID" 2>/dev/null

  # As a user would: "Settings..." under the preview opens the module's
  # dialog, the right end of its Speed slider gives 10, "Save" writes the
  # line into ~/.xscreensaver.
  run_settings "quorvelian --root --color 3"
  check "the module is picked" wait_for 30 has_preview "quorvelian --root --color 3"
  title="XScreenSaver: Quorvelian Settings"
  # xwininfo's tree walk fails now and then while windows come and go (the
  # preview is restarted on every change), so every look is retried.
  # Toplevel windows of that title: "id width" lines.
  titled() {
    xwininfo -root -tree 2>/dev/null | awk -v t="\"$title\":" '
      $1 ~ /^0x/ && index($0, " " t) && match($0, / [0-9]+x[0-9]+\+/) {
        split(substr($0, RSTART + 1, RLENGTH - 2), size, "x"); print $1, size[1]
      }'
  }
  # The main window once it has its full width; before that it may show
  # any size.
  main_ready() { MAIN=$(titled | awk '$2 >= 1000 { print $1; exit }'); [ -n "$MAIN" ]; }
  # The dialog: another window of that title, no longer its unmapped 1 x 1
  # placeholder.
  dialog_id() { titled | awk -v main="$MAIN" '$1 != main && $2 > 100 { print $1; exit }'; }
  has_dialog() { DIALOG=$(dialog_id); [ -n "$DIALOG" ]; }
  open_dialog() {
    has_dialog && return 0
    x_input mousemove 982 630 click 1
    sleep 0.5
    has_dialog
  }
  # Without a window manager it opens beside the main window, off screen.
  dialog_at_900() {
    has_dialog || return 1
    xdotool windowmove "$DIALOG" 900 0 windowraise "$DIALOG" 2>/dev/null
    read -r DX DW DH <<<"$(xwininfo -id "$DIALOG" 2>/dev/null |
      awk '/Absolute upper-left X/ {x=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, w, h}')"
    [ "${DX:-}" = 900 ] && [ "${DW:-0}" -gt 100 ] && [ "${DH:-0}" -gt 100 ]
  }
  if check "its main window fills the screen's width" wait_for 20 main_ready &&
    check "\"Settings...\" opens the module's dialog" wait_for 20 open_dialog &&
    check "which can be placed on the screen" wait_for 10 dialog_at_900; then
    sleep 0.5
    import -window "$DIALOG" "$WORK/dialog.png" 2>/dev/null
    # A click that lands before the moved dialog has settled is lost; both
    # clicks can be repeated without harm.
    speed_to_end() {
      x_input mousemove $((900 + 243)) 82 mousedown 1 sleep 0.2 mouseup 1
      wait_for 2 has_preview "quorvelian --root --speed 10 --color 3"
    }
    saved() {
      grep -qE 'GL:[[:space:]]+quorvelian --root --speed 10 --color 3[[:space:]]' \
        "$USER_HOME/.xscreensaver"
    }
    save() {
      x_input mousemove $((900 + DW - 58)) $((DH - 20)) mousedown 1 sleep 0.2 mouseup 1
      wait_for 2 saved
    }
    check "moving Speed to its right end previews --speed 10" wait_for 15 speed_to_end
    check "\"Save\" writes it into ~/.xscreensaver" wait_for 15 save
  fi
  if [ $failed -ne 0 ]; then echo "--- xscreensaver-settings"; grep -v 'pref changed' "$WORK/settings.log" | tail -30; fi
  ;;
*)
  echo "unknown scenario $scenario"; exit 2 ;;
esac

if [ $failed -ne 0 ] && [ -f "$WORK/daemon.log" ]; then
  echo "--- daemon"; tail -30 "$WORK/daemon.log"
fi
exit $failed
