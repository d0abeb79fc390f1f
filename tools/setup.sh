#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing, and unpacks the
# libjpeg-turbo source for the Windows builds. Idempotent: quick when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ g++-multilib git pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine64 fonts-wine xvfb xauth x11-utils
  nasm libjpeg62-turbo-dev libjpeg-turbo-progs googletest
  imagemagick locales dpkg-dev
  clang libclang-rt-14-dev
  python3-fonttools python3-brotli zip
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
# The font packages are fetched with npm; a machine without Node.js gets Debian's.
command -v npm >/dev/null 2>&1 || missing+=(npm)

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

tools/fetch-libjpeg-source.sh
