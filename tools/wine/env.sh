# Sourced by the wine scripts: where the prefix, locale and display of this checkout live.
# Everything sits in build/wine so that nothing outside the checkout is touched.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_root="$repo_root/build/wine"
wine_bin=/usr/lib/wine/wine64
wineserver_bin=/usr/lib/wine/wineserver64
[[ -x $wineserver_bin ]] || wineserver_bin=/usr/lib/wine/wineserver

export WINEPREFIX="$wine_root/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Code page 936 needs a generated zh_CN.UTF-8 locale, made privately (see with-wine), and both
# LANG and LC_ALL; only wine gets them, the shell and ctest keep the caller's locale.
export LOCPATH="$wine_root/locale"
wine=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$wine_bin")
