#!/usr/bin/env bash
# The cross build for 32-bit Windows in build-win32/: installs MinGW-w64 and Wine,
# builds GoogleTest for MinGW once, configures with cmake/mingw-w64-i686.cmake and
# builds the named targets (all when none): marliva.exe lands in build-win32/app/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh core windows
root=$PWD
build=build-win32
toolchain=$root/cmake/mingw-w64-i686.cmake
jobs=$(nproc)

# GoogleTest from Debian's sources (Debian has no MinGW package of it).
gtest=$root/$build/googletest
if [[ ! -f $gtest/lib/cmake/GTest/GTestConfig.cmake ]]; then
  cmake -S /usr/src/googletest -B "$build/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$build/googletest-build" -j"$jobs"
  cmake --install "$build/googletest-build" >/dev/null
fi

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DMARLIVA_WERROR=ON \
  -DMARLIVA_TESTS=ON -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null
if [[ $# -gt 0 ]]; then
  cmake --build "$build" -j"$jobs" --target "$@"
else
  cmake --build "$build" -j"$jobs"
fi
