#!/usr/bin/env bash
# Regenerates the shipped sounds in data/sfx/ from tools/sfxgen: the effects
# and the intro as WAV, the music encoded to MP3 with lame. The results are
# committed, so playing the game needs neither the generator nor an encoder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
command -v lame >/dev/null || { echo "make-sounds: needs lame (apt-get install lame)" >&2; exit 1; }
cmake --build "$build" --target sfxgen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/sfxgen" "$work"
mkdir -p "$root/data/sfx"
cp "$work"/[0-9][0-9].wav "$work/intro.wav" "$root/data/sfx/"
lame --quiet -m m -b 96 --resample 44.1 "$work/muza.wav" "$root/data/sfx/muza.mp3"
ls -l "$root/data/sfx"
