#!/usr/bin/env bash
# Puts the player's drawings of some metafiles beside the renderer's, one row
# a file, into one PNG (through Inkscape), for the README.
#   tools/corpus/comparison_sheet.sh OUT.png BUILD_DIR METAFILE...
# The renderer's pictures are looked for in a reference/ folder beside each
# metafile, as tests/data/metafiles keeps them.
set -eu
out=${1:?usage: tools/corpus/comparison_sheet.sh OUT.png BUILD_DIR METAFILE...}
build=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/metafile_ink" --pictures "$work" "$@" > "$work/sizes"
# Two columns of the widest picture, rows as high as their pictures.
width=$(awk '{ if ($(NF - 1) > w) w = $(NF - 1) } END { print w }' "$work/sizes")
y=24
body=""
while read -r name _ _ _ w h; do
  for f in "$@"; do [ "$(basename "$f")" = "$name" ] && source=$f; done
  body+="<text x=\"4\" y=\"$((y + 14))\" font-family=\"DejaVu Sans\" font-size=\"12\">$name</text>"
  body+="<image x=\"4\" y=\"$((y + 20))\" width=\"$w\" height=\"$h\" xlink:href=\"file://$work/$name.png\"/>"
  body+="<image x=\"$((width + 24))\" y=\"$((y + 20))\" width=\"$w\" height=\"$h\" xlink:href=\"file://$(cd "$(dirname "$source")" && pwd)/reference/$name.png\"/>"
  y=$((y + h + 32))
done < "$work/sizes"
cat > "$work/sheet.svg" <<SVG
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="$((2 * width + 28))" height="$y">
<rect width="100%" height="100%" fill="white"/>
<text x="4" y="16" font-family="DejaVu Sans" font-size="13" font-weight="bold">loomplay</text>
<text x="$((width + 24))" y="16" font-family="DejaVu Sans" font-size="13" font-weight="bold">Inkscape</text>
$body
</svg>
SVG
inkscape "$work/sheet.svg" --export-type=png --export-filename="$out" 2>/dev/null
