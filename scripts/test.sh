#!/usr/bin/env bash
# Builds the Linux and both Windows targets and runs every test suite.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
qv_install "${QV_BUILD_PACKAGES[@]}" "${QV_TEST_PACKAGES[@]}"
cd "$QV_ROOT"
qv_build linux win64 win32
ctest --preset linux -j 2 "$@"
