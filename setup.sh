#!/usr/bin/env bash
# Installs every Debian package that building, playing and testing Kwibbel needs. Quick when all is there.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libsdl2-image-dev libfontconfig-dev fonts-dejavu-core libenet-dev
  libgtest-dev googletest
  libmp3lame-dev lame espeak-ng sox
  xvfb xdotool x11-utils imagemagick openbox
  dpkg-dev desktop-file-utils appstream
  clang-format
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi
