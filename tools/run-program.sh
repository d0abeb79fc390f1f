#!/usr/bin/env bash
# run-program.sh [win64|win32]: starts the program of that build (win64 by default; win32 is the
# release) from its assembled folder under wine. With a desktop (DISPLAY set) it simply runs there;
# on a machine without one it runs on a private virtual screen, takes the program through a short
# tour (every design, the sliders, size, colour, another background, saving) and leaves what it saw
# in a folder: each design's BMP and a picture of the window.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-win64}
case $arch in
  win64|win32) ;;
  *) echo "run-program: the build is win64 or win32, not '$arch'" >&2; exit 2 ;;
esac
if [[ $arch == win32 ]]; then
  read -r answer reason < <(tools/i386-check)
  if [[ $answer != yes ]]; then
    echo "run-program: the 32-bit program cannot run on this machine: $reason" >&2
    echo "run-program: 'make run' starts the 64-bit build instead" >&2
    exit 1
  fi
fi
program=build/$arch/program/签名设计.exe
[[ -f $program ]] || { echo "run-program: $program is not built (make run ARCH=$arch builds it)" >&2; exit 1; }

if [[ -n ${DISPLAY:-} ]]; then
  export YJ_WINE_ARCH=$arch
  source tools/wine/env.sh
  mkdir -p "$LOCPATH"
  [[ -f $LOCPATH/zh_CN.UTF-8/LC_CTYPE ]] || localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || true
  exec "${wine[@]}" "$program"
fi

cmake --build --preset "$arch" --target program_tour_tests >/dev/null
tours=build/$arch/tests/program_win/tour
tour=$tours/EveryDesignDrawsAndSavesAndTheProgramEndsCleanly
echo "No display here: touring the $arch program on a virtual 1024x768 screen under wine..."
status=0
tools/wine/with-wine --arch "$arch" tools/wine/run-exe "build/$arch/tests/program_win/program_tour_tests.exe" \
  --gtest_brief=1 2>&1 | grep -av '^wine:' || status=$?
convert "$tour/window.bmp" "$tour/window.png" 2>/dev/null || true
echo
echo "What the tour saw is in $tour/:"
echo "  window.png           the main window after start-up (design 0 on the first background)"
echo "  design00..12.bmp     the template's names in each of the thirteen designs"
echo "  sliders-moved.bmp, red-40-points.bmp, smallest-picture.bmp   the other settings"
echo "and in $tours/AFolderWithoutPicturesOrFontsStillStartsSavesAndEnds/:"
echo "  empty-panel.bmp      what a folder without pictures or fonts saves"
echo "On a desktop (DISPLAY set), 'make run' starts the program itself."
exit $status
