# Sourced: an X server of our own with two monitors side by side, each a
# RandR output, which is how both Wine and SDL learn about monitors. Xvfb has
# a single output (its Xinerama stacks all screens at the origin), so this is
# the real X server on its dummy video driver.
#   qv_two_monitors_start WORKDIR   -> exports DISPLAY; monitor 0 (primary)
#                                      1024x768 at (0,0), monitor 1 800x600 at (1024,0)
#   qv_two_monitors_stop
# Returns 77 (skip) when the X server or its dummy driver is not installed.

QV_TWO_MONITORS_PID=""

qv_two_monitors_start() {
  local work=$1
  command -v Xorg >/dev/null || { echo "SKIP: Xorg not installed (xserver-xorg-core)"; return 77; }
  [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    { echo "SKIP: no dummy video driver (xserver-xorg-video-dummy)"; return 77; }
  command -v xrandr >/dev/null || { echo "SKIP: xrandr not installed (x11-xserver-utils)"; return 77; }
  cat >"$work/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "DontVTSwitch" "true"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "AllowMouseOpenFail" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768"
    Virtual 1824 768
  EndSubSection
EndSection
CONF
  local fifo=$work/xorg-displayfd
  mkfifo "$fifo"
  Xorg -displayfd 5 -config "$work/xorg.conf" -noreset -nolisten tcp -novtswitch -sharevts \
    -logfile "$work/xorg.log" 5>"$fifo" >"$work/xorg.out" 2>&1 &
  QV_TWO_MONITORS_PID=$!
  local n
  if ! read -r -t 30 n <"$fifo"; then
    echo "FAIL: the X server did not start"
    tail -20 "$work/xorg.out"
    return 1
  fi
  export DISPLAY=:$n
  xrandr --output DUMMY0 --mode 1024x768 --pos 0x0 --primary &&
    xrandr --addmode DUMMY1 800x600 &&
    xrandr --output DUMMY1 --mode 800x600 --pos 1024x0 || {
    echo "FAIL: could not set up the second monitor"
    return 1
  }
  local monitors
  monitors=$(xrandr --listmonitors | head -1)
  [ "$monitors" = "Monitors: 2" ] || { echo "FAIL: xrandr reports '$monitors'"; return 1; }
}

qv_two_monitors_stop() {
  if [ -n "$QV_TWO_MONITORS_PID" ]; then
    kill "$QV_TWO_MONITORS_PID" 2>/dev/null
    wait "$QV_TWO_MONITORS_PID" 2>/dev/null
    QV_TWO_MONITORS_PID=""
  fi
}
