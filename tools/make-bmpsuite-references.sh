#!/usr/bin/env bash
# ImageMagick's decoding of every file of bmpsuite (the BMP test corpus in Debian's pillow source
# package, unpacked by tools/fetch-debian-source.sh) as build/bmpsuite/FOLDER/NAME.ppm, for the
# corpus test. 16-bit PPM: the test reduces it to 8 bits as ImageMagick reduces its own pixels on
# output; asking ImageMagick for 8 bits instead truncates channels of 9 bits and more.
#
# A file ImageMagick refuses gets no reference. One it reads while reporting an error (bad colour
# indexes) keeps the picture it drew: the exit status counts only when no picture came out.
set -euo pipefail
cd "$(dirname "$0")/.."

corpus=build/sources/pillow/Tests/images/bmp
out=build/bmpsuite
convert=/usr/bin/convert
stamp=$out/made-by
# The references stand for this ImageMagick and these files: either changing makes them anew.
made_by="$("$convert" -version | head -n 1) $(cat "$corpus"/{g,b,q}/*.bmp | md5sum | cut -d' ' -f1)"
[[ -f $stamp && $(cat "$stamp") == "$made_by" ]] && exit 0

rm -rf "$out"
for folder in g b q; do
  mkdir -p "$out/$folder"
  for file in "$corpus/$folder"/*.bmp; do
    reference=$out/$folder/$(basename "$file" .bmp).ppm
    "$convert" "$file" -alpha off -depth 16 PPM:"$reference.part" >/dev/null 2>&1 || true
    if [[ -s $reference.part ]]; then mv "$reference.part" "$reference"; else rm -f "$reference.part"; fi
  done
done
echo "$made_by" >"$stamp"
echo "setup: bmpsuite references in $out ($(find "$out" -name '*.ppm' | wc -l) pictures)"
