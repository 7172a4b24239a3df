#!/usr/bin/env bash
# Contact sheets of the shipped models: every model at the scale and pitch the
# game draws it with, at several headings, on snow; one row per model, one
# sheet per group, and a scene with everything together.
#
#   tools/models/contact_sheet.sh [OUT_DIR]      (default /tmp/glimmerbay-models)
#
# Each picture is labelled zoom/pitch/yaw. Each sprite is framed by a thin blue line just outside its edges, so the
# bottom row (the footprint) and any clipping show. BBX names the bbx tool;
# by default the one in build-models/ or build/ is used.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-/tmp/glimmerbay-models}
convert=/usr/bin/convert
montage=/usr/bin/montage
snow='rgb(220,220,220)'
frame='rgb(120,170,230)'

bbx=${BBX:-}
if [[ -z $bbx ]]; then
  for candidate in "$root/build-models/bin/bbx" "$root/build/bin/bbx"; do
    if [[ -x $candidate ]]; then bbx=$candidate; break; fi
  done
fi
if [[ -z $bbx ]]; then
  echo "contact_sheet.sh: no bbx tool found; build it (cmake --build build --target bbx) or set BBX" >&2
  exit 1
fi

mkdir -p "$out/views" "$out/rows"
rm -f "$out"/views/*.png "$out"/rows/*.png "$out"/sheet-*.png
models=$out/models.bbx
"$bbx" build "$root/data/models.json" -o "$models"

declare -A names
while IFS=$'\t' read -r _ name id _; do
  names[$id]=$name
done < <("$bbx" info "$models" | tail -n +2)

declare -A rows   # sheet -> row pictures, in catalogue order
row=0
while IFS=$'\t' read -r sheet id views; do
  row=$((row + 1))
  labelled=()
  for view in $views; do
    IFS=: read -r zoom pitch yaw <<<"$view"
    picture=$out/views/$row-$zoom-$pitch-$yaw.png
    "$bbx" render "$models" --id "$id" --yaw "$yaw" --pitch "$pitch" --zoom "$zoom" -o "$picture"
    "$convert" "$picture" -background "$snow" -flatten -bordercolor "$frame" -border 1 -scale 200% "$picture"
    labelled+=(-label "$zoom/$pitch/$yaw" "$picture")
  done
  "$montage" "${labelled[@]}" -tile x1 -geometry +6+4 -background "$snow" -title "$id ${names[$id]}" \
    -pointsize 11 "$out/rows/$row.png"
  rows[$sheet]+="$out/rows/$row.png "
done < <(python3 "$here/make_models.py" --views)

for sheet in "${!rows[@]}"; do
  # shellcheck disable=SC2086  # the list is space-separated file names without spaces
  "$convert" ${rows[$sheet]} -background "$snow" -gravity West -splice 0x8 -append "$out/sheet-$sheet.png"
  echo "$out/sheet-$sheet.png"
done

python3 "$here/scene.py" "$bbx" "$models" "$out/scene.png"
echo "$out/scene.png"
python3 "$here/scene.py" "$bbx" "$models" "$out/village.png" village
echo "$out/village.png"
