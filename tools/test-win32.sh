#!/usr/bin/env bash
# The release's Windows tests, the 32-bit build's: under 32-bit wine where this machine runs 32-bit
# programs (tools/i386-check). Elsewhere ctest reports each of them as skipped with the reason, and
# one line at the end says that they did not run; the exit status is then that of the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
read -r answer reason < <(tools/i386-check)
if [[ $answer == yes ]]; then
  exec tools/wine/with-wine --arch win32 ctest --preset win32
fi
ctest --preset win32
echo "make test: the release's (32-bit) Windows tests did not run on this machine: $reason"
