#!/usr/bin/env bash
# Makes the pictures the README shows, from the 64-bit build under wine on a virtual screen:
# docs/window.png, the main window after start-up (the program tour's screenshot),
# docs/designs.png, every design drawing the sample names (the design-font tests' sheet), and
# docs/signature-sheet.png, a contact sheet the signature sheet tool makes of two names.
set -euo pipefail
cd "$(dirname "$0")/.."
tests=build/win64/tests/program_win
cmake --build --preset win64 --target program_tour_tests design_fonts_tests program_folder >/dev/null
tools/wine/with-wine ctest --preset win64 --output-on-failure \
  -R '^(ProgramTour\.EveryDesignDrawsAndSavesAndTheProgramEndsCleanly|DesignSheet\.EveryDesignDrawsItsSampleNames)$'
mkdir -p docs
convert "$tests/tour/EveryDesignDrawsAndSavesAndTheProgramEndsCleanly/window.bmp" docs/window.png
convert "$tests/design-sheet.bmp" docs/designs.png
# The tool writes the sheet in its working folder, drive Z: being the Unix root under wine.
tools/wine/with-wine bash -c 'cd docs && ../tools/wine/run-exe ../build/win64/program/signsheet.exe \
  --trim 8 --color 1F3A68 --sheet signature-sheet.png 王小明/Xiaoming "刘德华/Liu Dehua"'
echo "screenshots: docs/window.png docs/designs.png docs/signature-sheet.png"
