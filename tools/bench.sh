#!/usr/bin/env bash
# make bench: every benchmark of the project, then one table of their figures (tools/bench/table.py)
# with each figure's ratio to references measured in the same run and the targets.
#  - the picture decoders (native build): a 12-megapixel JPEG, a 3-megapixel GIF and a 12-megapixel
#    BMP decoded from memory, against Debian's djpeg on the same JPEG and a memcpy of the decoded size;
#  - the drawing panel under wine: a slider step's operations, a picture change and GetPicture,
#    against a BitBlt of the whole panel;
#  - the real program as shipped under wine: a slider step and a picture change, against the bare
#    round trip of a message to the slider, a key to a bare slider of another process, and a
#    whole-panel BitBlt.
# The Windows figures are measured for the 32-bit release where this machine runs 32-bit programs
# (tools/i386-check), and for the 64-bit build.
#
# Usage: tools/bench.sh [SCRATCH_DIR]   (default /tmp/yj-bench; the large pictures are made there once
# with ImageMagick, and the figures are kept in figures.txt)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp/yj-bench}
convert=${CONVERT:-/usr/bin/convert}
mkdir -p "$dir"
figures=$dir/figures.txt
: > "$figures"
cd "$root"

if [[ ! -f $dir/photo_12mp.jpg ]]; then
  # A photo-like 4000 x 3000 picture (plasma, softened), saved as a camera would: quality 90, 4:2:0.
  "$convert" -size 1000x750 -seed 7 plasma:fractal -blur 0x1 -resize 4000x3000 -attenuate 0.3 +noise Gaussian \
    -depth 8 "$dir/photo_12mp.png"
  "$convert" "$dir/photo_12mp.png" -quality 90 -sampling-factor 2x2 "$dir/photo_12mp.jpg"
  "$convert" "$dir/photo_12mp.png" -type truecolor BMP3:"$dir/photo_12mp.bmp"
  "$convert" "$dir/photo_12mp.png" -resize 2000x1500 -colors 256 GIF:"$dir/photo_3mp.gif"
  rm -f "$dir/photo_12mp.png"
fi

echo "decoders (native)..."
cmake --build --preset native --target picture_bench >/dev/null
bench=build/native/tests/canvas/picture_bench
pictures=("$dir/photo_12mp.jpg" "$dir/photo_3mp.gif" "$dir/photo_12mp.bmp")
"$bench" "${pictures[@]}" >> "$figures"
"$bench" --reuse-heap "$dir/photo_12mp.jpg" >> "$figures"
# djpeg: whole runs (process start, reading the file, decoding, writing the PPM to /dev/null).
for run in $(seq 15); do
  start=$(date +%s%N)
  djpeg -outfile /dev/null "$dir/photo_12mp.jpg"
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
done | sort -n | awk '{ t[NR] = $1 / 1000 } END { printf "figure djpeg-4000x3000 %.4f %.4f %d\n", t[int((NR + 1) / 2)], t[1], NR }' \
  >> "$figures"

to_windows() { echo "Z:$1" | tr / '\\'; }
read -r runs32 reason32 < <(tools/i386-check)
for arch in win32 win64; do
  if [[ $arch == win32 && $runs32 != yes ]]; then
    echo "the 32-bit release's figures are not measured here: $reason32" >> "$figures"
    continue
  fi
  echo "panel and program ($arch, under wine)..."
  cmake --build --preset "$arch" --target draw_panel_bench program_slider_bench program_folder >/dev/null
  build=build/$arch
  tools/wine/with-wine --arch "$arch" bash -c '
    tools/wine/run-exe "$1/tests/canvas_panel_win/draw_panel_bench.exe" "$2" "$3"
    tools/wine/run-exe "$1/tests/program_win/program_slider_bench.exe" "$4"' _ "$build" \
    "$(to_windows "$root/assets/backgrounds/05-blue-mist.jpg")" "$(to_windows "$root/assets/backgrounds/06-plain-card.bmp")" \
    "$(to_windows "$root/$build/program")" 2>/dev/null | sed -n "s/^figure /figure $arch:/p" >> "$figures"
done

/usr/bin/python3 tools/bench/table.py < "$figures"
