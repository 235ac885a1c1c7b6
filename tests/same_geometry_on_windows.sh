#!/usr/bin/env bash
# Compares the geometry digest of this build with the Windows build's, run
# under Wine. Skips (77) where there is no Windows build or no Wine.
set -u
native=$1 windows=$2
command -v wine >/dev/null || { echo "wine not installed"; exit 77; }
[ -f "$windows" ] || { echo "no Windows build at $windows"; exit 77; }
prefix=$(mktemp -d)
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; rm -rf "$prefix"' EXIT
expected=$("$native")
actual=$(WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" timeout 150 wine "$windows" 2>/dev/null | tr -d '\r')
echo "linux:   $expected"
echo "windows: $actual"
[ -n "$expected" ] && [ "$expected" = "$actual" ]
