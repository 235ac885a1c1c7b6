# Sourced by the Wine scenarios: a private copy of the template prefix and a
# private X display per scenario, and the clean-up of both.
#   QV_WIN_BUILD  folder of the x86_64 build (quorvelian.scr, tests/)
#   QV_TEMPLATE   the template prefix made by make_template.sh

qv_skip() { echo "SKIP: $*"; exit 77; }

qv_need_wine() {
  command -v wine >/dev/null || qv_skip "wine not installed"
  command -v Xvfb >/dev/null || qv_skip "Xvfb not installed"
  [ -f "$QV_WIN_BUILD/quorvelian.scr" ] || qv_skip "no Windows build at $QV_WIN_BUILD"
}

qv_need_template() {
  # The template is made by this run's fixture; without it the scenario
  # cannot say anything about the saver.
  [ -f "$QV_TEMPLATE/.qv-template-ok" ] || { echo "FAIL: no template prefix at $QV_TEMPLATE"; exit 1; }
}

export WINEDEBUG=-all
# No install prompts for Mono and Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

QV_WORK=""
QV_XVFB_PID=""

qv_cleanup() {
  if [ -n "$QV_WORK" ] && [ -d "$QV_WORK/prefix" ]; then
    WINEPREFIX="$QV_WORK/prefix" wineserver -k 2>/dev/null
    WINEPREFIX="$QV_WORK/prefix" wineserver -w 2>/dev/null
  fi
  if [ -n "$QV_XVFB_PID" ]; then kill "$QV_XVFB_PID" 2>/dev/null; wait "$QV_XVFB_PID" 2>/dev/null; fi
  [ -n "$QV_WORK" ] && rm -rf "$QV_WORK"
}

# A fresh prefix: hard links for the read-only bulk (the system DLLs), real
# copies of the registry files, which Wine rewrites. The template's wineserver
# marker is left out so that each copy gets its own server.
qv_new_prefix() {
  QV_WORK=$(mktemp -d /tmp/qv-wine.XXXXXX)
  trap qv_cleanup EXIT
  cp -al "$QV_TEMPLATE" "$QV_WORK/prefix"
  for reg in "$QV_TEMPLATE"/*.reg; do cp --remove-destination "$reg" "$QV_WORK/prefix/"; done
  rm -f "$QV_WORK/prefix/wineserver" "$QV_WORK/prefix/.qv-template-ok"
  export WINEPREFIX="$QV_WORK/prefix"
}

# A display of our own: Xvfb picks a free number and tells it on a pipe.
qv_start_display() {
  local fifo="$QV_WORK/display"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  QV_XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || { echo "FAIL: Xvfb did not start"; exit 1; }
  export DISPLAY=":$number"
}

# Windows path of a Unix path (Wine maps / to Z:).
qv_winpath() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }

qv_reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

# "Name=0x.." lines of the settings key, sorted, for comparisons.
qv_settings() {
  qv_reg_query 'HKCU\Software\Quorvelian' | awk '$2 == "REG_DWORD" {print $1 "=" $3}' | sort | tr '\n' ' '
}

qv_set_settings() {  # Name=value ...
  local pair
  for pair in "$@"; do
    wine reg add 'HKCU\Software\Quorvelian' /v "${pair%%=*}" /t REG_DWORD /d "${pair#*=}" /f >/dev/null 2>&1 ||
      { echo "FAIL: cannot store $pair"; exit 1; }
  done
}

# Runs the probe in the background and, whenever it asks, screenshots the
# root window to $1 and lets it go on. Returns the probe's exit code.
qv_probe_with_shot() {  # shot.png scenario
  local shot=$1 scenario=$2 hs="$QV_WORK/hs"
  mkdir -p "$hs"
  wine "$QV_WIN_BUILD/tests/qv_saver_probe.exe" "$(qv_winpath "$QV_WIN_BUILD/quorvelian.scr")" \
    "$scenario" "$(qv_winpath "$hs")" &
  local probe=$!
  while kill -0 "$probe" 2>/dev/null; do
    if [ -f "$hs/shot.want" ] && [ ! -f "$hs/shot.done" ]; then
      import -window root "$shot"
      touch "$hs/shot.done"
    fi
    sleep 0.1
  done
  wait "$probe"
}

qv_probe() {  # scenario
  wine "$QV_WIN_BUILD/tests/qv_saver_probe.exe" "$(qv_winpath "$QV_WIN_BUILD/quorvelian.scr")" "$1"
}

# Share of pixels in a region (WxH+X+Y) that are clearly not black.
qv_lit_share() {  # png geometry
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 6% -format '%[fx:mean]' info:
}
