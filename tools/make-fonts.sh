#!/usr/bin/env bash
# Builds the thirteen signature fonts (ma1.dat ... ma13.dat) and their licence texts into
# build/fonts/, from pinned npm and Debian font packages fetched with their own clients into
# build/fonts/cache/. Nothing is committed: the build copies the result into the program folder.
#
# Usage: tools/make-fonts.sh        (does nothing when the fonts are already built)
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fonts
cache=$out/cache
mkdir -p "$cache"
# The win64 and win32 builds may both ask at once: one builds, the other waits and finds it done.
exec 8>"$out/.lock"
flock 8
built=$out/zesel/ma13.dat
up_to_date() {
  [[ -f $built ]] || return 1
  local script
  for script in tools/make-fonts.sh tools/fonts/*.py; do
    [[ $built -nt $script ]] || return 1
  done
}
up_to_date && exit 0

# Pinned sources: npm package@version, Debian package=version.
npm_packages=(
  @expo-google-fonts/zhi-mang-xing@0.4.1
  @expo-google-fonts/liu-jian-mao-cao@0.2.3
  @expo-google-fonts/ma-shan-zheng@0.4.3
  @expo-google-fonts/m-plus-rounded-1c@0.4.4
  @expo-google-fonts/herr-von-muellerhoff@0.4.1
  @expo-google-fonts/great-vibes@0.4.1
  @expo-google-fonts/alex-brush@0.4.1
  @expo-google-fonts/pinyon-script@0.4.1
  @fontsource/long-cang@5.3.0
  cn-fontsource-975-maru-sc-regular@1.0.1
)
debian_packages=(
  fonts-arphic-ukai=0.2.20080216.2-5
  fonts-kouzan-mouhitsu=20170411-3
  fonts-lxgw-wenkai=1.250+repack-1
)

for pinned in "${npm_packages[@]}"; do
  name=${pinned%@*}; version=${pinned##*@}
  folder=$cache/npm/${name//\//_}
  [[ -d $folder/package ]] && continue
  mkdir -p "$folder"
  tarball=$(cd "$folder" && npm pack --silent "$name@$version" | tail -n 1)
  tar -xzf "$folder/$tarball" -C "$folder"
done

for pinned in "${debian_packages[@]}"; do
  name=${pinned%%=*}
  folder=$cache/deb/$name
  [[ -d $folder/usr ]] && continue
  mkdir -p "$folder"
  (cd "$cache" && apt-get download -q "$pinned" >/dev/null)
  dpkg-deb -x "$cache/${name}_"*.deb "$folder"
  rm -f "$cache/${name}_"*.deb
done

/usr/bin/python3 tools/fonts/build_fonts.py "$cache" "$out"
