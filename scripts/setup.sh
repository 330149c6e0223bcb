#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Safe to run again: apt only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-l10n-tools
  libgl1-mesa-dev libxkbcommon-dev libxcb1-dev libfontconfig-dev
  ffmpeg mplayer mencoder
  fontconfig fonts-dejavu-core fonts-liberation fonts-arphic-ukai fonts-arphic-gkai00mp fonts-arphic-bkai00mp fonts-noto-cjk
  xvfb xauth x11-utils imagemagick
  opencc
  procps psmisc e2fsprogs python3 time bc xdg-utils
  desktop-file-utils appstream dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
echo "setup: all packages present"
