#!/usr/bin/env bash
# Starts the program from its assembled folder under wine. With a desktop (DISPLAY set) it simply
# runs there; on a machine without one it runs on a private virtual screen, takes the program
# through a short tour (every design, the sliders, size, colour, another background, saving) and
# leaves what it saw in a folder: each design's BMP and a picture of the window.
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/win64/program/签名设计.exe
[[ -f $program ]] || { echo "run-program: $program is not built (make run builds it)" >&2; exit 1; }

if [[ -n ${DISPLAY:-} ]]; then
  source tools/wine/env.sh
  mkdir -p "$LOCPATH"
  [[ -f $LOCPATH/zh_CN.UTF-8/LC_CTYPE ]] || localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || true
  exec "${wine[@]}" "$program"
fi

cmake --build --preset win64 --target program_tour_tests >/dev/null
tour=build/win64/tests/program_win/tour
echo "No display here: touring the program on a virtual 1024x768 screen under wine..."
status=0
tools/wine/with-wine tools/wine/run-exe build/win64/tests/program_win/program_tour_tests.exe \
  --gtest_brief=1 2>&1 | grep -av '^wine:' || status=$?
convert "$tour/window.bmp" "$tour/window.png" 2>/dev/null || true
echo
echo "What the tour saw is in $tour/:"
echo "  window.png           the main window after start-up (design 0 on the first background)"
echo "  design00..12.bmp     the template's names in each of the thirteen designs"
echo "  sliders-moved.bmp, red-40-points.bmp, smallest-picture.bmp   the other settings"
echo "On a desktop (DISPLAY set), 'make run' starts the program itself."
exit $status
