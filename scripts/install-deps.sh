#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test.
# Does nothing when everything is already there; otherwise runs apt-get
# (as root, or through sudo).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  liballegro4-dev libfreetype-dev libx11-dev
  libsdl2-mixer-dev libxmp-dev
  libmp3lame-dev
  fonts-paratype
  x11-utils # xmessage: the library's message box on X
)
if [ "${1:-}" = "--test" ]; then
  packages+=(
    libgtest-dev libgmock-dev
    xvfb xdotool imagemagick procps
    fonts-dejavu-core xfonts-base
    clang libclang-rt-14-dev
    libsdl2-ttf-dev mpg123 sox
    libmpg123-dev libmodplug-dev
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
