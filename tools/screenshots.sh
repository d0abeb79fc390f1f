#!/usr/bin/env bash
# Makes the pictures the README shows, from the 64-bit build under wine on a virtual screen:
# docs/window.png, the main window after start-up (the program tour's screenshot), and
# docs/designs.png, every design drawing the sample names (the design-font tests' sheet).
set -euo pipefail
cd "$(dirname "$0")/.."
tests=build/win64/tests/program_win
cmake --build --preset win64 --target program_tour_tests design_fonts_tests >/dev/null
tools/wine/with-wine ctest --preset win64 --output-on-failure \
  -R '^(ProgramTour\.EveryDesignDrawsAndSavesAndTheProgramEndsCleanly|DesignSheet\.EveryDesignDrawsItsSampleNames)$'
mkdir -p docs
convert "$tests/tour/EveryDesignDrawsAndSavesAndTheProgramEndsCleanly/window.bmp" docs/window.png
convert "$tests/design-sheet.bmp" docs/designs.png
echo "screenshots: docs/window.png docs/designs.png"
