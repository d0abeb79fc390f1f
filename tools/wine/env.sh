# Sourced by the wine scripts: where the prefix, locale and display of this checkout live.
# Everything sits in build/wine so that nothing outside the checkout is touched.
#
# YJ_WINE_ARCH picks the architecture: win64 (the default) runs the 64-bit build with wine64 in
# build/wine/prefix; win32 runs the 32-bit release with the 32-bit loader in build/wine/prefix32,
# a 64-bit prefix as a 64-bit Windows is, where the release runs as most users run it.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_root="$repo_root/build/wine"
wine_arch=${YJ_WINE_ARCH:-win64}
case $wine_arch in
  win64) wine_bin=/usr/lib/wine/wine64; export WINEPREFIX="$wine_root/prefix" ;;
  win32) wine_bin=/usr/lib/wine/wine; export WINEPREFIX="$wine_root/prefix32" ;;
  *) echo "wine: YJ_WINE_ARCH must be win64 or win32, not '$wine_arch'" >&2; exit 2 ;;
esac
export YJ_WINE_ARCH=$wine_arch
wineserver_bin=/usr/lib/wine/wineserver64
[[ -x $wineserver_bin ]] || wineserver_bin=/usr/lib/wine/wineserver

# The running session, if any: its display, its Xvfb, its architecture and its own process.
session_file="$wine_root/session"

export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Code page 936 needs a generated zh_CN.UTF-8 locale, made privately (see with-wine), and both
# LANG and LC_ALL; only wine gets them, the shell and ctest keep the caller's locale.
export LOCPATH="$wine_root/locale"
wine=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$wine_bin")
