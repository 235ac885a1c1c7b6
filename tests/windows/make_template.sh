#!/usr/bin/env bash
# Builds the Wine prefix that every scenario of this run copies. A new prefix
# costs some twenty seconds; a copy costs a fraction of one.
set -u
QV_WIN_BUILD=$1 QV_TEMPLATE=$2
source "$(dirname "$0")/wine_env.sh"
qv_need_wine
export WINEPREFIX=$QV_TEMPLATE
# A server left from the previous run's template must not serve the new one.
[ -d "$QV_TEMPLATE" ] && { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
rm -rf "$QV_TEMPLATE"
mkdir -p "$(dirname "$QV_TEMPLATE")"
log="$(dirname "$QV_TEMPLATE")/wineboot.log"
if ! wineboot -i >"$log" 2>&1; then
  # Once seen failing at once while another test started its own prefix;
  # a second attempt on a clean folder has always worked.
  cat "$log"
  wineserver -k 2>/dev/null
  rm -rf "$QV_TEMPLATE"
  wineboot -i >"$log" 2>&1 || { echo "FAIL: wineboot"; cat "$log"; exit 1; }
fi
# Without a window manager every hide or destroy of a managed window stalls
# about two seconds; a crash must not wait on a dialog nobody sees.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 &&
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 ||
  { echo "FAIL: cannot configure the template"; exit 1; }
wineserver -w
grep -q '"Managed"="N"' "$QV_TEMPLATE/user.reg" || { echo "FAIL: template lacks Managed=N"; exit 1; }
touch "$QV_TEMPLATE/.qv-template-ok"
echo "template prefix ready at $QV_TEMPLATE"
