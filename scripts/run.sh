#!/usr/bin/env bash
# Starts the saver full screen (pass /c for the settings window). Without a
# display it renders a short headless run to a PNG and prints its path.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
qv_install "${QV_BUILD_PACKAGES[@]}"
cd "$QV_ROOT"
qv_build linux
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/linux/quorvelian ]; then
  exec build/linux/quorvelian "${@:-/s}"
fi
out="$QV_ROOT/build/quorvelian-snapshot.png"
build/linux/tools/render/quorvelian-render snapshot --out "$out" --frames 120
echo "$out"
