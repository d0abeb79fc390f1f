#!/usr/bin/env bash
# Packs the 32-bit program folder (the release) as a zip for Windows users:
# build/dist/yunjian-signature-2.0-win32.zip, holding one folder "云笺签名设计" with the program,
# the signature sheet tool, its skin library and skin file, the pictures, the fonts, the pages and
# the licences.
#
# Every name in it is flagged as UTF-8 (tools/pack-zip.py says why), and the zip is checked before
# it is kept: each entry carries the flag, and Python's zipfile, unzip and 7z each unpack it into
# exactly the program folder, the same names and the same bytes. Any failure stops here, loudly.
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/win32/program
top=云笺签名设计
[[ -f $program/签名设计.exe ]] || { echo "make-dist: build the win32 preset first" >&2; exit 1; }
[[ -f $program/signsheet.exe ]] || { echo "make-dist: the signature sheet tool is missing from $program" >&2; exit 1; }
[[ -f $program/背景图片/zesel/ma13.dat ]] || { echo "make-dist: the fonts are missing from $program" >&2; exit 1; }
for tool in unzip 7z; do
  command -v "$tool" >/dev/null || { echo "make-dist: $tool is missing; run tools/setup.sh" >&2; exit 1; }
done
mkdir -p build/dist
zip=$PWD/build/dist/yunjian-signature-2.0-win32.zip
rm -f "$zip"

# The same tree packs to the same bytes: every entry is dated with the last commit.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
/usr/bin/python3 tools/pack-zip.py pack "$zip" "$program" "$top" "$epoch"

fail() {
  echo "make-dist: CHECK FAILED: $*" >&2
  echo "make-dist: $zip is not fit to ship; it is removed" >&2
  rm -f "$zip"
  exit 1
}

echo "make-dist: checking $zip"
/usr/bin/python3 tools/pack-zip.py check "$zip" || fail "not every name carries the UTF-8 flag"

# What a folder holds, one line per entry in name order: a folder's name, a file's name and SHA-256.
listing() {
  (
    cd "$1"
    find . -mindepth 1 -type d -printf '%P/\n'
    find . -mindepth 1 ! -type d ! -type f -printf '%P (neither file nor folder)\n'
    find . -type f -printf '%P\0' | xargs -0 -r sha256sum | sed -E 's/^([0-9a-f]{64})  (.*)$/\2  \1/'
  ) | LC_ALL=C sort
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
listing "$program" >"$scratch/expected"

# Debian's unzip and 7z wrote the flagged names as UTF-8 under the C locale too (measured); both
# run under C.UTF-8 all the same, as builds of them that convert names to the locale's set need.
unpack() {
  local into=$2
  case $1 in
    zipfile) /usr/bin/python3 -m zipfile -e "$zip" "$into" ;;
    unzip) LC_ALL=C.UTF-8 unzip -q "$zip" -d "$into" ;;
    7z) LC_ALL=C.UTF-8 7z x -bso0 -bsp0 -y "-o$into" "$zip" ;;
  esac
}
for extractor in zipfile unzip 7z; do
  into=$scratch/$extractor
  mkdir "$into"
  unpack "$extractor" "$into" >"$scratch/$extractor.log" 2>&1 ||
    { cat "$scratch/$extractor.log" >&2; fail "$extractor could not unpack the zip"; }
  tops=$(ls -A "$into")
  [[ $tops == "$top" ]] || fail "$extractor unpacked the top level as '$(echo $tops)', not the one folder $top"
  listing "$into/$top" >"$scratch/$extractor.listing"
  if ! diff -u "$scratch/expected" "$scratch/$extractor.listing" >"$scratch/$extractor.diff"; then
    head -n 40 "$scratch/$extractor.diff" >&2
    fail "what $extractor unpacked differs from $program (- the folder, + the unpacked copy)"
  fi
  echo "make-dist: $extractor unpacks it into exactly $program ($(wc -l <"$scratch/expected") names, same bytes)"
done
echo "$zip: $(du -h "$zip" | cut -f1)"
