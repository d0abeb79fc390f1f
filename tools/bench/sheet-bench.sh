#!/usr/bin/env bash
# sheet-bench.sh [win32|win64]: the signature sheet tool on a list of 100 names in all 13 designs
# at scale 4, as transparent PNGs, and then the same list as one contact sheet at scale 1. Prints
# the wall time of each run (the tool's start, fonts and all) and what it wrote. The release
# (win32) by default, where this machine runs 32-bit programs.
set -euo pipefail
cd "$(dirname "$0")/../.."
arch=${1:-win32}
if [[ $arch == win32 ]]; then
  read -r answer reason < <(tools/i386-check)
  [[ $answer == yes ]] || { echo "sheet-bench: the 32-bit release cannot run here: $reason" >&2; exit 1; }
fi
cmake --build --preset "$arch" --target program_folder >/dev/null
scratch=build/$arch/sheet-bench
rm -rf "$scratch"
mkdir -p "$scratch"
cp tools/bench/hundred_names.txt "$scratch/"
tools/wine/with-wine --arch "$arch" bash -c '
  cd "$1"
  timed() {
    local start end
    start=$(date +%s%N)
    ../../../tools/wine/run-exe ../program/signsheet.exe "$@" >/dev/null 2>&1 || echo "signsheet exited with $?"
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000000 ))"
  }
  pictures=$(timed --list hundred_names.txt --scale 4 --out pictures)
  sheet=$(timed --list hundred_names.txt --sheet sheet.png)
  count=$(ls pictures | wc -l)
  size=$(du -sm pictures | cut -f1)
  printf "signsheet %s: 100 names x 13 designs at scale 4: %d.%03d s, %s PNG files, %s MB\n" \
    "$2" $((pictures / 1000)) $((pictures % 1000)) "$count" "$size"
  printf "signsheet %s: the same 100 names as one contact sheet at scale 1: %d.%03d s, %s\n" \
    "$2" $((sheet / 1000)) $((sheet % 1000)) "$(python3 -c "import struct, sys; print(\"%d x %d pixels\" % struct.unpack(\">II\", open(sys.argv[1], \"rb\").read()[16:24]))" sheet.png)"
' _ "$scratch" "$arch"
