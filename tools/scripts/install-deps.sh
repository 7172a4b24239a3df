#!/usr/bin/env bash
# Installs the Debian packages the project needs; returns at once when every
# one of them is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev python3
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpng-dev
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev fonts-dejavu-core xdg-utils
  qt6-base-dev qt6-translations-l10n
  xvfb xauth openbox xdotool imagemagick lame
  desktop-file-utils appstream shared-mime-info lintian dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
