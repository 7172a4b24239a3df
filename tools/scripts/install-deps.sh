#!/usr/bin/env bash
# Installs the Debian packages the project needs (none when every one of
# them is already there) and generates the locale pl_PL.UTF-8 for the tests.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev python3
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpng-dev
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev fonts-dejavu-core xdg-utils
  qt6-base-dev qt6-translations-l10n
  xvfb xauth openbox xdotool imagemagick lame
  desktop-file-utils appstream shared-mime-info lintian dpkg-dev file
  locales
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests of the user's decimal separator run under a Polish locale.
if ! locale -a 2>/dev/null | grep -qix 'pl_PL\.utf-\?8'; then
  echo "Generating the locale pl_PL.UTF-8"
  "${sudo[@]}" localedef -i pl_PL -f UTF-8 pl_PL.UTF-8
fi
