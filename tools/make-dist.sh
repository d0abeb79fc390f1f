#!/usr/bin/env bash
# Packs the 32-bit program folder (the release) as a zip for Windows users:
# build/dist/yunjian-signature-2.0-win32.zip, holding one folder "云笺签名设计" with the program,
# the signature sheet tool, its skin library and skin file, the pictures, the fonts, the pages and
# the licences.
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/win32/program
[[ -f $program/签名设计.exe ]] || { echo "make-dist: build the win32 preset first" >&2; exit 1; }
[[ -f $program/signsheet.exe ]] || { echo "make-dist: the signature sheet tool is missing from $program" >&2; exit 1; }
[[ -f $program/背景图片/zesel/ma13.dat ]] || { echo "make-dist: the fonts are missing from $program" >&2; exit 1; }
mkdir -p build/dist
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp -r "$program" "$stage/云笺签名设计"
zip=$PWD/build/dist/yunjian-signature-2.0-win32.zip
rm -f "$zip"
(cd "$stage" && zip -qr -X "$zip" "云笺签名设计")
echo "$zip: $(du -h "$zip" | cut -f1)"
