#!/usr/bin/env bash
# The locale runs of make test: the Windows tests labelled `locale` (those of the file, text and
# run-directory services, the code page, the layouts, the controls with the save dialog, the
# signature sheet tool and the program tour) run again with wine under locales whose ANSI code page
# is not 936. The program's texts are GBK whatever the system's code page, so these must pass under
# every one of them as they do under zh_CN.
#
# win64 under en_US (1252), zh_TW (950) and ja_JP (932); win32, the release, under en_US and zh_TW
# where this machine runs 32-bit programs (tools/i386-check), elsewhere one line says that they did
# not run and why, and the exit status is that of the rest. A run that finds no test labelled
# `locale` fails: it must never pass by running nothing. Every run is made, and a summary with the
# time each took ends the output.
set -uo pipefail
cd "$(dirname "$0")/.."

win64_locales=(en_US.UTF-8 zh_TW.UTF-8 ja_JP.UTF-8)
win32_locales=(en_US.UTF-8 zh_TW.UTF-8)

status=0
summary=()
# The time a run adds is measured inside its wine session: the wait for another session on this
# checkout to end (with-wine's lock) is no part of it, and is shown apart.
timing=$(mktemp)
trap 'rm -f "$timing"' EXIT
run() {
  local arch=$1 locale=$2 started=$SECONDS result=passed tests
  echo "make test: the $arch tests labelled locale, under $locale"
  echo '?' >"$timing"
  tools/wine/with-wine --arch "$arch" --locale "$locale" bash -c \
    'started=$SECONDS; "$@"; status=$?; echo $((SECONDS - started)) >"$0"; exit $status' "$timing" \
    ctest --preset "$arch" --label-regex '^locale$' --no-tests=error || { result=FAILED; status=1; }
  tests=$(<"$timing")
  summary+=("$arch under $locale: $result, $tests s of tests, $((SECONDS - started)) s in all")
}

for locale in "${win64_locales[@]}"; do run win64 "$locale"; done

read -r runs_i386 reason < <(tools/i386-check)
if [[ $runs_i386 == yes ]]; then
  for locale in "${win32_locales[@]}"; do run win32 "$locale"; done
fi

echo "make test: locale runs:"
printf '  %s\n' "${summary[@]}"
if [[ $runs_i386 != yes ]]; then
  echo "make test: the release's (32-bit) locale runs did not run on this machine: $reason"
fi
exit $status
