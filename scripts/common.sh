# Shared by the run and test commands: install what is missing, build what is stale.
set -euo pipefail
QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

QV_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev
  libbenchmark-dev libgl1-mesa-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libsdl2-dev libimgui-dev libfreetype-dev libfontconfig-dev fonts-liberation libpng-dev
  imagemagick clang libclang-rt-14-dev llvm-14)
QV_TEST_PACKAGES=(xvfb xfonts-base xfonts-75dpi xdotool x11-utils libxml2-utils mingw-w64 wine wine64
  python3-pefile lintian desktop-file-utils xscreensaver strace
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils python3)

qv_install() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

qv_build() {  # preset...
  for preset in "$@"; do
    [ -f "$QV_ROOT/build/$preset/build.ninja" ] || cmake --preset "$preset" -S "$QV_ROOT" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
  done
}
