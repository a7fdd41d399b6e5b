# Sourced with 32 or 64, on the X display the programs will use, by the scripts
# that run a Windows build under Wine: Wine for that width (scripts/wine-arch.sh)
# in a prefix of its own in build-win32/wineprefix or build-win64/wineprefix,
# made once, with one Wine server for the caller's whole run (stopped when the
# caller exits). A server left from an earlier run is stopped first: its
# desktop process may belong to another display.
source "$(dirname "${BASH_SOURCE[0]}")/wine-arch.sh" "$1"
wineserver -k 2>/dev/null || true
timeout 60 wineserver -w 2>/dev/null || true
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  timeout 600 "$wine" wineboot -i
  timeout 300 wineserver -w
fi
timeout 60 wineserver -p 120
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's own fonts ("MS Sans Serif", Marlett for the caption buttons), which
# Debian's Wine does not find by itself, and no waiting for a window manager
# that a virtual display does not have.
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
timeout 120 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
