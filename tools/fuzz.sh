#!/bin/sh
# Builds the picture fuzzer (fuzz/, clang with libFuzzer, AddressSanitizer and UndefinedBehavior-
# Sanitizer) into build/fuzz and runs it for a bounded time per format, each run seeded with that
# format's fixtures and every crasher. The corpus grows in build/fuzz/corpus/FORMAT between runs;
# crashing inputs land in build/fuzz/artifacts/FORMAT. Prints the executions per format and exits
# non-zero when anything crashed.
#
# Usage: tools/fuzz.sh [SECONDS_PER_FORMAT [FORMAT...]]   (default: 60 seconds; bmp gif pcx jpeg)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
formats=${*:-bmp gif pcx jpeg}
build=$root/build/fuzz
fixtures=$root/tests/canvas/fixtures

CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 >/dev/null

failed=0
for format in $formats; do
  case $format in
    bmp) pattern='*.bmp' ;;
    gif) pattern='*.gif' ;;
    pcx) pattern='*.pcx' ;;
    jpeg) pattern='*.jpg' ;;
    *) echo "unknown format $format (bmp gif pcx jpeg)" >&2; exit 2 ;;
  esac
  corpus=$build/corpus/$format
  artifacts=$build/artifacts/$format
  mkdir -p "$corpus" "$artifacts"
  find "$fixtures" -name "$pattern" -exec cp {} "$corpus/" \;
  find "$root/tests/canvas/crashers" -type f ! -name README -exec cp {} "$corpus/" \;
  log=$build/$format.log
  # A decode may take a while for a large picture, never 10 seconds; 2 GiB covers the 256 MiB
  # block, libjpeg's 512 MiB working memory and the sanitizers' shadow.
  if "$build/picture_fuzzer" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -use_value_profile=1 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    status=ok
  else
    status="FOUND A CRASH (see $log and $artifacts)"
    failed=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  printf '%-5s %12s executions in %ss, corpus %s files: %s\n' "$format" "${runs:-?}" "$seconds" \
    "$(ls "$corpus" | wc -l)" "$status"
done
exit $failed
