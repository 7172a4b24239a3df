#!/usr/bin/env bash
# Regenerates the shipped sounds in data/sfx/ from tools/sfxgen: the effects
# and the intro as WAV, the music encoded to MP3 with lame. The results are
# committed, so playing the game needs neither the generator nor an encoder.
#
#   tools/scripts/make-sounds.sh [BUILD_DIR [OUT_DIR]]
#
# sfxgen is built in BUILD_DIR (default build/) unless SFXGEN names a built
# one; the sounds go to OUT_DIR (default data/sfx/).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=${2:-$root/data/sfx}
command -v lame >/dev/null || { echo "make-sounds: needs lame (apt-get install lame)" >&2; exit 1; }
sfxgen=${SFXGEN:-}
if [[ -z $sfxgen ]]; then
  cmake --build "$build" --target sfxgen
  sfxgen=$build/tools/sfxgen
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sfxgen" "$work"
mkdir -p "$out"
cp "$work"/[0-9][0-9].wav "$work/intro.wav" "$out/"
lame --quiet -m m -b 96 --resample 44.1 "$work/muza.wav" "$out/muza.mp3"
ls -l "$out"
