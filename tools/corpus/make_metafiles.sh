#!/usr/bin/env bash
# Makes the metafile corpus from the drawings of make_drawings.py: the SVGs
# written as EMF and WMF by Inkscape and by LibreOffice Draw, the office
# charts as EMF and WMF by LibreOffice, the plots as EMF by gnuplot, all
# headless; then each metafile drawn to PNG by Inkscape's own metafile
# reader, the renderer the player's pictures are compared with
# (compare_metafiles.sh).
#   tools/corpus/make_metafiles.sh OUT_DIR [DRAWINGS]   (45 drawings: 233 metafiles)
# Needs Debian's inkscape, libreoffice-draw, gnuplot-nox and fonts-dejavu-core.
set -eu
out=${1:?usage: tools/corpus/make_metafiles.sh OUT_DIR [DRAWINGS]}
count=${2:-45}
here=$(cd "$(dirname "$0")" && pwd)
for tool in inkscape soffice gnuplot python3; do
  command -v "$tool" >/dev/null || { echo "make_metafiles: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out/drawings" "$out/metafiles" "$out/reference"
out=$(cd "$out" && pwd)
python3 "$here/make_drawings.py" "$out/drawings" "$count"

# LibreOffice keeps its profile in a folder of the corpus's own.
export HOME="$out/home"
for kind in emf wmf; do
  for f in "$out"/drawings/*.svg; do
    inkscape "$f" --export-type="$kind" --export-filename="$out/metafiles/inkscape_$(basename "$f" .svg).$kind" 2>/dev/null
  done
  soffice --headless --convert-to "$kind" --outdir "$out/lo-$kind" "$out"/drawings/*.svg "$out"/drawings/*.fodg >/dev/null 2>&1
  for f in "$out/lo-$kind"/*."$kind"; do
    mv "$f" "$out/metafiles/libreoffice_$(basename "$f")"
  done
  rmdir "$out/lo-$kind"
done
(cd "$out/metafiles" && for f in "$out"/drawings/*.gp; do gnuplot "$f"; mv "$(basename "$f" .gp).emf" "gnuplot_$(basename "$f" .gp).emf"; done)

# The renderer's picture of each file, at the metafile's own size.
for f in "$out"/metafiles/*; do
  inkscape "$f" --export-type=png --export-filename="$out/reference/$(basename "$f").png" 2>/dev/null \
    || echo "make_metafiles: the renderer could not draw $(basename "$f")" >&2
done
echo "$(ls "$out/metafiles" | wc -l) metafiles in $out/metafiles, their renderer's pictures in $out/reference"
