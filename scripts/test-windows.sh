#!/usr/bin/env bash
# The Windows build and its tests: marliva.exe cross-compiled with MinGW-w64, then
# the engine's tests, the dialog logic's tests and the real dialog's tests run
# under Wine on a virtual X display. Fails on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh core windows
root=$PWD
build=build-win32
toolchain=$root/cmake/mingw-w64-i686.cmake
jobs=$(nproc)

# GoogleTest for the cross build, from Debian's GoogleTest sources (Debian has
# no MinGW package of it); built once per build tree.
gtest=$root/$build/googletest
if [[ ! -f $gtest/lib/cmake/GTest/GTestConfig.cmake ]]; then
  cmake -S /usr/src/googletest -B "$build/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$build/googletest-build" -j"$jobs"
  cmake --install "$build/googletest-build" >/dev/null
fi

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DMARLIVA_WERROR=ON \
  -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null
cmake --build "$build" -j"$jobs"
kind=$(file -b "$build/app/marliva.exe")
echo "marliva.exe: $kind"
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || { echo "marliva.exe is not a 32-bit GUI program" >&2; exit 1; }

# A Wine prefix of our own inside the build tree.
export WINEPREFIX=$root/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Creating the Wine prefix (a minute at most)"
  timeout 600 wineboot -i
  timeout 300 wineserver -w
fi
# One Wine server for the whole stage (a server left running from before is
# used as it is).
timeout 60 wineserver -p 120 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's own fonts ("MS Sans Serif", Marlett for the caption buttons), which
# Debian's Wine does not find by itself; and no waiting for a window manager
# that the virtual display does not have.
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null

# Warmed up before the tests: test discovery runs each test program under a
# short time limit.
timeout 120 wine cmd /c exit >/dev/null 2>&1 || true

timeout 1800 xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 300
