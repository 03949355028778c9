#!/usr/bin/env bash
# Renders every picture of the game, named, onto PNG pages for review.
# Usage: tools/contactsheet.sh [bitmap folder] [output folder]
#   defaults: build/data/bitmap and build/contactsheet (run a build first).
# Needs ImageMagick's montage and convert.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
src="${1:-$here/build/data/bitmap}"
out="${2:-$here/build/contactsheet}"
[ -d "$src" ] || { echo "no pictures in $src: build first" >&2; exit 1; }
command -v montage >/dev/null || { echo "montage (ImageMagick) is missing" >&2; exit 1; }
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"
rm -f "$out"/page-*.png

# Sorts every picture into a group by its size.
small=() ; buttons=() ; bars=() ; screens=()
for f in "$src"/*.png; do
  size="$(identify -format '%wx%h' "$f")"
  case "$size" in
    20x20|100x100) small+=("$f") ;;
    800x80) bars+=("$f") ;;
    800x680|800x600) screens+=("$f") ;;
    *) buttons+=("$f") ;;
  esac
done

page=1
sheet() {  # title, tile geometry, columns, files...
  local title="$1" geometry="$2" cols="$3"; shift 3
  montage -background '#202020' -fill '#e0e0e0' -font DejaVu-Sans -pointsize "${POINTSIZE:-13}" -label '%t' \
    "$@" -tile "${cols}x" -geometry "$geometry" -title "$title" "$out/page-$page.png"
  echo "$out/page-$page.png: $title"
  page=$((page + 1))
}

# Board pieces, enlarged five times with hard pixel edges so every pixel can be judged.
scaled=()
for f in "${small[@]}"; do
  n="$(basename "$f" .png)"
  if [ "$(identify -format '%w' "$f")" = 20 ]; then
    convert "$f" -filter point -resize 500% "$tmp/$n.png"
  else
    convert "$f" "$tmp/$n.png"
  fi
  scaled+=("$tmp/$n.png")
done
POINTSIZE=10 sheet "Kwibbel: board pieces (x5) and countdown" "100x100+60+8" 6 "${scaled[@]}"
sheet "Kwibbel: buttons (normal, mouse-over)" "+8+8" 4 "${buttons[@]}"
sheet "Kwibbel: bars" "+8+8" 1 "${bars[@]}"
# Full screens at half size, six to a page.
for ((i = 0; i < ${#screens[@]}; i += 6)); do
  sheet "Kwibbel: screens" "400x340+8+8" 3 "${screens[@]:i:6}"
done
