#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing, unpacks the libjpeg-turbo,
# zlib and libpng sources for the Windows builds and bmpsuite (with its ImageMagick references) for
# the corpus test.
# Idempotent: quick when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ g++-multilib git pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine64 fonts-wine xvfb xauth x11-utils
  nasm libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev zlib1g-dev googletest
  imagemagick locales dpkg-dev fonts-arphic-uming
  clang libclang-rt-14-dev
  python3-fonttools python3-brotli python3-pil unzip p7zip-full
)

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
installed() {
  [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) == "install ok installed" ]]
}
install_packages() {
  echo "setup: installing $*"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$@"
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
# The font packages are fetched with npm; a machine without Node.js gets Debian's.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if ((${#missing[@]})); then install_packages "${missing[@]}"; fi

# The 32-bit side. Where the kernel runs 32-bit programs, 32-bit wine runs the release's Windows
# tests; where it does not, qemu-user runs the one 32-bit Linux test in emulation. qemu-user comes
# without its recommended binfmt package, so nothing is registered with the kernel.
read -r runs_i386 _ < <(tools/i386-check)
if [[ $runs_i386 == yes ]]; then
  if ! installed wine32:i386; then
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo_cmd[@]}" dpkg --add-architecture i386
    install_packages wine32:i386
  fi
else
  installed qemu-user || install_packages qemu-user
fi

tools/fetch-debian-source.sh libjpeg-turbo CMakeLists.txt
# zlib and libpng: the PNG writer's, statically into the MinGW builds as libjpeg-turbo is.
tools/fetch-debian-source.sh zlib CMakeLists.txt
tools/fetch-debian-source.sh libpng1.6 png.h
# bmpsuite, the BMP test corpus, comes with pillow's source; ImageMagick's decodings are its references.
tools/fetch-debian-source.sh pillow Tests/images/bmp/g
tools/make-bmpsuite-references.sh
