# Sourced by the scripts that run the Windows build under Wine: a prefix of our
# own in build-win32/wineprefix, made once, with one Wine server for the caller's
# whole run (stopped when the caller exits).
export WINEPREFIX=$PWD/build-win32/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  timeout 600 wineboot -i
  timeout 300 wineserver -w
fi
# A server left running from before is used as it is.
timeout 60 wineserver -p 120 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's own fonts ("MS Sans Serif", Marlett for the caption buttons), which
# Debian's Wine does not find by itself, and no waiting for a window manager
# that a virtual display does not have.
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
