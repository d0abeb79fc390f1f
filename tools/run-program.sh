#!/usr/bin/env bash
# Starts the program from its assembled folder under wine, on the desktop of this machine when there
# is one (DISPLAY set), else on a private virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/win64/program/签名设计.exe
if [[ ! -f $program ]]; then
  echo "The signature designer itself is not built yet: so far the tree holds its runtime services"
  echo "and the probe. Once it exists, 'make run' starts $program under wine."
  echo "Meanwhile ask the services a question, for example:"
  echo "  tools/wine/with-wine tools/wine/run-exe build/win64/tools/probe/probe.exe todate 2011-04-13"
  exit 0
fi
exec tools/wine/with-wine tools/wine/run-exe "$program"
