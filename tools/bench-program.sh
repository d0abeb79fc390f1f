#!/usr/bin/env bash
# Times a slider step of the real program under wine: from the slider's message to the panel holding
# the new drawing, on the smallest and the largest shipped picture, as shipped and without the
# font-change broadcast. Usage: tools/bench-program.sh [STEPS]   (default 300)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset win64 --target program_slider_bench >/dev/null
to_windows() { echo "Z:$1" | tr / '\\'; }
tools/wine/with-wine tools/wine/run-exe build/win64/tests/program_win/program_slider_bench.exe \
  "$(to_windows "$PWD/build/win64/program")" \
  "$(to_windows "$PWD/build/win64/designer/signature_designer_without_broadcast.exe")" "${1:-300}" 2>&1 |
  grep -av '^wine:'
