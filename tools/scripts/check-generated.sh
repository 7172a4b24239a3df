#!/usr/bin/env bash
# Checks that the committed generated content is what its generators write
# today, byte for byte, so that a change to a generator cannot leave the
# shipped files behind (or a hand edit of them go unnoticed).
#
#   check-generated.sh models          data/models.json from tools/models/make_models.py
#   check-generated.sh sounds SFXGEN   data/sfx/ from tools/scripts/make-sounds.sh with that sfxgen
#
# The WAVs are written by sfxgen alone, from fixed seeds, and come out the
# same wherever the compiler and maths library give the same doubles. The
# MP3 is lame's: lame writes its version into the file (the LAME tag) and
# its encoder changes between versions, so another lame makes another file
# from the same music. The music is therefore compared only when the lame
# here is the version named in the committed file's tag; with any other it
# is left out and said so. Without lame the sounds are not checked at all
# (exit 77, a skipped test).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
what=${1:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

differs() {
  echo "check-generated: $1 differs from what its generator writes now;" \
    "regenerate it ($2) and commit the result" >&2
  failed=1
}

case $what in
  models)
    command -v python3 >/dev/null || { echo "check-generated: needs python3" >&2; exit 1; }
    python3 "$root/tools/models/make_models.py" "$work/models.json" >/dev/null
    cmp -s "$work/models.json" "$root/data/models.json" || differs data/models.json tools/models/make_models.py
    ;;
  sounds)
    sfxgen=${2:?"usage: check-generated.sh sounds SFXGEN"}
    [[ -x $sfxgen ]] || { echo "check-generated: no sound generator at $sfxgen" >&2; exit 1; }
    if ! command -v lame >/dev/null; then
      echo "check-generated: lame is not installed (make deps); the sounds are not checked" >&2
      exit 77
    fi
    SFXGEN=$sfxgen "$root/tools/scripts/make-sounds.sh" "" "$work/sfx" >/dev/null
    for name in $( (ls "$root/data/sfx"; ls "$work/sfx") | sort -u); do
      [[ $name == muza.mp3 ]] && continue
      cmp -s "$root/data/sfx/$name" "$work/sfx/$name" 2>/dev/null || differs "data/sfx/$name" tools/scripts/make-sounds.sh
    done
    made_with=$(grep -ao 'LAME[0-9]\.[0-9]*' "$root/data/sfx/muza.mp3" | head -n 1 || true)
    here="LAME$(lame --version | sed -n 's/^LAME.* version \([0-9.]*\).*/\1/p' | head -n 1)"
    if [[ $made_with != "$here" ]]; then
      echo "check-generated: data/sfx/muza.mp3 was encoded by ${made_with:-an unknown lame}, this is $here;" \
        "the music is not compared" >&2
    else
      cmp -s "$root/data/sfx/muza.mp3" "$work/sfx/muza.mp3" || differs data/sfx/muza.mp3 tools/scripts/make-sounds.sh
    fi
    ;;
  *)
    echo "usage: check-generated.sh models | sounds SFXGEN" >&2
    exit 2
    ;;
esac
exit $failed
