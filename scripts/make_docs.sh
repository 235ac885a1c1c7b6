#!/usr/bin/env bash
# Regenerates the pictures under docs/ that the README shows:
#   docs/gallery.png             the twelve flower kinds (headless renderer)
#   docs/primitives.png          the twelve kinds in each of the four primitives
#   docs/settings-linux.png      the Linux settings window (quorvelian /c on Xvfb)
#   docs/settings-windows.png    the Windows settings window (quorvelian.scr /c, Wine on Xvfb)
#   docs/xscreensaver-settings.png, docs/xscreensaver-dialog.png
#                                xscreensaver-settings with the module picked, and the module's
#                                dialog (needs root: the package's files are shown to it
#                                through a mount namespace)
# Needs no display of its own: every X server here is a private Xvfb.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
qv_install "${QV_BUILD_PACKAGES[@]}" "${QV_TEST_PACKAGES[@]}"
cd "$QV_ROOT"
qv_build linux win64

DOCS=$QV_ROOT/docs
mkdir -p "$DOCS"
WORK=$(mktemp -d)
XVFB_PID=""
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  if [ -d "$WORK/prefix" ]; then
    WINEPREFIX=$WORK/prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$WORK/prefix wineserver -w 2>/dev/null || true
  fi
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

render=build/linux/tools/render/quorvelian-render
"$render" gallery --out "$DOCS/gallery.png"
"$render" gallery --primitive all --out "$DOCS/primitives.png"

start_x() {
  [ -n "$XVFB_PID" ] && { kill "$XVFB_PID"; wait "$XVFB_PID" 2>/dev/null; }
  rm -f "$WORK/displayfd"
  mkfifo "$WORK/displayfd"
  Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$WORK/displayfd" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n
  read -r -t 20 n <"$WORK/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$n
}

window_named() {
  xwininfo -root -tree 2>/dev/null |
    awk -v t="\"$1\":" '$1 ~ /^0x/ && index($0, " " t) { print $1; exit }'
}

# Waits for the window, lets the flowers fade in, then takes the picture.
shoot_window() {  # title out.png
  local id="" deadline=$((SECONDS + 60))
  while [ -z "$id" ]; do
    [ $SECONDS -ge $deadline ] && { echo "no window \"$1\" appeared" >&2; exit 1; }
    sleep 0.2
    id=$(window_named "$1")
  done
  # About 150 frames: every slot has faded in fully.
  sleep 5
  import -window "$id" "$2"
  echo "$2: $(identify -format '%wx%h' "$2")"
}

# Linux: first run, so the window shows its own defaults.
start_x
XDG_CONFIG_HOME=$WORK/config LIBGL_ALWAYS_SOFTWARE=1 build/linux/quorvelian /c &
APP_PID=$!
shoot_window "Quorvelian Settings" "$DOCS/settings-linux.png"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; APP_PID=""

# Windows: the x86_64 build in a fresh Wine prefix.
start_x
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >"$WORK/wineboot.log" 2>&1 || { cat "$WORK/wineboot.log"; exit 1; }
wine build/win64/quorvelian.scr /c &
APP_PID=$!
shoot_window "Quorvelian Settings" "$DOCS/settings-windows.png"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; APP_PID=""

# XScreenSaver's own settings program, showing the installed module's dialog.
if [ "$(id -u)" -ne 0 ] || ! unshare --mount true 2>/dev/null; then
  echo "docs/xscreensaver-*.png kept: making them needs root and mount namespaces"
  exit 0
fi
unset WINEPREFIX
start_x
DESTDIR=$WORK/root cmake --install build/linux --prefix /usr >/dev/null
mkdir -p "$WORK/view/config" "$WORK/view/libexec" "$WORK/home"
ln -s /usr/share/xscreensaver/config/* "$WORK/view/config/" 2>/dev/null || true
ln -s /usr/libexec/xscreensaver/* "$WORK/view/libexec/" 2>/dev/null || true
cp "$WORK/root/usr/share/xscreensaver/config/quorvelian.xml" "$WORK/view/config/"
ln -s "$WORK/root/usr/bin/quorvelian" "$WORK/view/libexec/quorvelian"
printf '%s\n' 'mode: one' 'selected: 0' 'lock: False' 'splash: False' \
  'programs: GL: quorvelian --root --speed 8 --primitive 6 \n' >"$WORK/home/.xscreensaver"
chmod -R a+rX "$WORK"
chown -R nobody "$WORK/home"
unshare --mount --propagation private bash -c '
  mount --bind "$1/view/config" /usr/share/xscreensaver/config &&
  mount --bind "$1/view/libexec" /usr/libexec/xscreensaver || exit 1
  exec setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env -i HOME="$1/home" \
    DISPLAY="$DISPLAY" LIBGL_ALWAYS_SOFTWARE=1 PATH=/usr/bin:/bin xscreensaver-settings' _ "$WORK" &
APP_PID=$!
title="XScreenSaver: Quorvelian Settings"
titled() {
  xwininfo -root -tree 2>/dev/null | awk -v t="\"$title\":" '
    $1 ~ /^0x/ && index($0, " " t) && match($0, / [0-9]+x[0-9]+\+/) {
      split(substr($0, RSTART + 1, RLENGTH - 2), size, "x"); print $1, size[1]
    }'
}
main="" dialog="" deadline=$((SECONDS + 60))
while [ -z "$dialog" ]; do
  [ $SECONDS -ge $deadline ] && { echo "the module's dialog did not open" >&2; exit 1; }
  sleep 0.5
  if [ -z "$main" ]; then
    main=$(titled | awk '$2 >= 1000 { print $1; exit }')
    [ -n "$main" ] && sleep 4 && import -window "$main" "$DOCS/xscreensaver-settings.png"
    continue
  fi
  dialog=$(titled | awk -v m="$main" '$1 != m && $2 > 100 { print $1; exit }')
  # Its "Settings..." button, beside "Preview" on a screen 1024 wide.
  [ -z "$dialog" ] && xdotool mousemove 813 540 click 1
done
xdotool windowmove "$dialog" 600 0 windowraise "$dialog"
sleep 3
import -window "$dialog" "$DOCS/xscreensaver-dialog.png"
for f in "$DOCS"/xscreensaver-*.png; do echo "$f: $(identify -format '%wx%h' "$f")"; done
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; APP_PID=""
