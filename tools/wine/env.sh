# Sourced by the wine scripts: where the prefix, locale and display of this checkout live.
# Everything sits in build/wine so that nothing outside the checkout is touched.
#
# YJ_WINE_ARCH picks the architecture: win64 (the default) runs the 64-bit build with wine64 in
# build/wine/prefix; win32 runs the 32-bit release with the 32-bit loader in build/wine/prefix32,
# a 64-bit prefix as a 64-bit Windows is, where the release runs as most users run it.
#
# YJ_WINE_LOCALE picks the locale wine runs under, and with it the ANSI code page: zh_CN.UTF-8 (the
# default, code page 936, the program's users' own) or one of the others below, for the runs that
# show the program keeps its GBK texts whatever the system's code page (tools/test-locales.sh).
# Windows programs get that code page as YJ_EXPECTED_ACP, so that a test can tell it really runs
# under the locale it was asked for: wine falls back to 1252 for a locale it cannot load.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_root="$repo_root/build/wine"
wine_arch=${YJ_WINE_ARCH:-win64}
case $wine_arch in
  win64) wine_bin=/usr/lib/wine/wine64; export WINEPREFIX="$wine_root/prefix" ;;
  win32) wine_bin=/usr/lib/wine/wine; export WINEPREFIX="$wine_root/prefix32" ;;
  *) echo "wine: YJ_WINE_ARCH must be win64 or win32, not '$wine_arch'" >&2; exit 2 ;;
esac
export YJ_WINE_ARCH=$wine_arch
wine_locale=${YJ_WINE_LOCALE:-zh_CN.UTF-8}
case $wine_locale in
  zh_CN.UTF-8) expected_acp=936 ;;
  zh_TW.UTF-8) expected_acp=950 ;;
  ja_JP.UTF-8) expected_acp=932 ;;
  en_US.UTF-8) expected_acp=1252 ;;
  *) echo "wine: YJ_WINE_LOCALE must be zh_CN.UTF-8, zh_TW.UTF-8, ja_JP.UTF-8 or en_US.UTF-8," \
          "not '$wine_locale'" >&2; exit 2 ;;
esac
export YJ_WINE_LOCALE=$wine_locale
wineserver_bin=/usr/lib/wine/wineserver64
[[ -x $wineserver_bin ]] || wineserver_bin=/usr/lib/wine/wineserver

# The running session, if any: its display, its Xvfb, its architecture and its own process.
session_file="$wine_root/session"

export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Code page 936 needs a generated zh_CN.UTF-8 locale, made privately (see with-wine), and both
# LANG and LC_ALL; only wine gets them, the shell and ctest keep the caller's locale. The other
# locales likewise.
export LOCPATH="$wine_root/locale"
wine=(env LANG="$wine_locale" LC_ALL="$wine_locale" YJ_EXPECTED_ACP="$expected_acp" "$wine_bin")

# make_private_locale NAME: generates NAME (xx_YY.UTF-8) under LOCPATH unless it is there; fails
# when it cannot. The system's own locales are left as they are.
make_private_locale() {
  [[ -f $LOCPATH/$1/LC_CTYPE ]] && return 0
  mkdir -p "$LOCPATH"
  # localedef exits non-zero for mere warnings; whether the locale exists afterwards is what counts.
  localedef -i "${1%.UTF-8}" -f UTF-8 "$LOCPATH/$1" 2>/dev/null || true
  [[ -f $LOCPATH/$1/LC_CTYPE ]]
}
