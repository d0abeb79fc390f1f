#!/bin/sh
# Builds the picture fuzzer (fuzz/, clang with libFuzzer, AddressSanitizer and UndefinedBehavior-
# Sanitizer) into build/fuzz and runs it for a bounded time per format, each run seeded with that
# format's fixtures and every crasher. The corpus grows in build/fuzz/corpus/FORMAT between runs;
# crashing inputs land in build/fuzz/artifacts/FORMAT. Prints per format this run's executions and
# executions per second, and the executions of every run so far (build/fuzz/executions/FORMAT);
# exits non-zero when anything crashed.
#
# Usage: tools/fuzz.sh [SECONDS_PER_FORMAT [FORMAT...]]   (default: 60 seconds; bmp gif pcx icon jpeg)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
formats=${*:-bmp gif pcx icon jpeg}
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
    icon) pattern='*.[ic][cu][or]' ;;  # .ico and .cur
    jpeg) pattern='*.jpg' ;;
    *) echo "unknown format $format (bmp gif pcx icon jpeg)" >&2; exit 2 ;;
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
  runs=${runs:-0}
  mkdir -p "$build/executions"
  total=$(( $(cat "$build/executions/$format" 2>/dev/null || echo 0) + runs ))
  echo "$total" >"$build/executions/$format"
  printf '%-5s %10s executions in %ss (%s a second), %s in all runs so far; corpus %s files: %s\n' \
    "$format" "$runs" "$seconds" "$((runs / seconds))" "$total" "$(ls "$corpus" | wc -l)" "$status"
done
exit $failed
