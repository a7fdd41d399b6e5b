# Sourced with 32 or 64: Wine for that width of Windows program. Sets `wine`,
# the loader (the 64-bit one runs without the kernel's 32-bit support, which
# /usr/bin/wine would ask for first), and exports the prefix of the build tree
# (build-win32/wineprefix, build-win64/wineprefix: one for each width, whatever
# prefix the caller's environment names), no debug output and no Mono or
# Gecko prompts.
case $1 in
  32) wine=wine ;;
  64) wine=/usr/lib/wine/wine64 WINEARCH=win64 && export WINEARCH ;;
  *) echo "wine-arch.sh: 32 or 64, not '$1'" >&2; return 2 ;;
esac
WINEPREFIX="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build-win$1/wineprefix"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
