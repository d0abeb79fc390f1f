#!/bin/sh
# Times picture decoding: a 12-megapixel JPEG, a large GIF and a large BMP, decoded from memory by
# picture_bench (native build), and Debian's djpeg on the same JPEG for the ratio. The pictures are
# made with ImageMagick once into a scratch folder and kept there; nothing is committed.
#
# Usage: tools/bench.sh [SCRATCH_DIR]   (default /tmp/yj-picture-bench)
# PICTURE_BENCH=path runs that picture_bench instead of building the native preset's.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp/yj-picture-bench}
convert=${CONVERT:-/usr/bin/convert}
bench=${PICTURE_BENCH:-}
mkdir -p "$dir"

if [ ! -f "$dir/photo_12mp.jpg" ]; then
  # A photo-like 4000 x 3000 picture (plasma, softened), saved as a camera would: quality 90, 4:2:0.
  "$convert" -size 1000x750 -seed 7 plasma:fractal -blur 0x1 -resize 4000x3000 -attenuate 0.3 +noise Gaussian \
    -depth 8 "$dir/photo_12mp.png"
  "$convert" "$dir/photo_12mp.png" -quality 90 -sampling-factor 2x2 "$dir/photo_12mp.jpg"
  "$convert" "$dir/photo_12mp.png" -type truecolor BMP3:"$dir/photo_12mp.bmp"
  "$convert" "$dir/photo_12mp.png" -resize 2000x1500 -colors 256 GIF:"$dir/photo_3mp.gif"
  rm -f "$dir/photo_12mp.png"
fi

if [ -z "$bench" ]; then
  (cd "$root" && cmake --build --preset native --target picture_bench >/dev/null)
  bench=$root/build/native/tests/canvas/picture_bench
fi
echo "fresh pixel blocks:"
"$bench" "$dir/photo_12mp.jpg" "$dir/photo_3mp.gif" "$dir/photo_12mp.bmp" | tee "$dir/fresh.txt"
echo "pixel blocks reused from the heap:"
"$bench" --reuse-heap "$dir/photo_12mp.jpg" "$dir/photo_3mp.gif" "$dir/photo_12mp.bmp" | tee "$dir/reused.txt"

# djpeg: the median wall time of whole runs (process start, reading the file, decoding, writing the
# PPM to /dev/null) over 15 runs.
djpeg_us=$(for run in $(seq 15); do
  start=$(date +%s%N)
  djpeg -outfile /dev/null "$dir/photo_12mp.jpg"
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
done | sort -n | sed -n 8p)
jpeg_ms() { sed -n 's/.*jpg kind 1 [0-9x]*: \([0-9.]*\) ms.*/\1/p' "$1"; }
awk -v fresh="$(jpeg_ms "$dir/fresh.txt")" -v reused="$(jpeg_ms "$dir/reused.txt")" -v djpeg_us="$djpeg_us" 'BEGIN {
  djpeg = djpeg_us / 1000
  printf "djpeg %.2f ms per run (median of 15)\n", djpeg
  printf "DecodePicture / djpeg: %.2f with fresh blocks, %.2f with reused blocks (target 1.25 or less)\n",
         fresh / djpeg, reused / djpeg }'
