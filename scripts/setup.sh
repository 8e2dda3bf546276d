#!/usr/bin/env bash
# Installs what building and testing ZANTO needs on Debian 12, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-image-formats-plugins qt6-translations-l10n libgl-dev
  libemf2svg-dev libwmf-dev libraw-dev libheif-dev zlib1g-dev fonts-urw-base35
  libgtest-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-noto-cjk
  xdg-utils exfatprogs exfat-fuse fusefat dosfstools python3-xlib
  dpkg-dev file desktop-file-utils appstream
)
if [ "${ZANTO_SETUP_EXTRA:-}" != "" ]; then
  read -r -a extra <<<"$ZANTO_SETUP_EXTRA"
  packages+=("${extra[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
