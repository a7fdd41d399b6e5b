#!/usr/bin/env bash
# The cross build for Windows, 32-bit (build-win32/, the programs that ship) or
# 64-bit (build-win64/): installs MinGW-w64 and Wine, builds GoogleTest for
# MinGW once, configures with cmake/mingw-w64-i686.cmake or
# cmake/mingw-w64-x86_64.cmake and builds the named targets (all when none):
# marliva.exe lands in build-win32/app/ or build-win64/app/.
# usage: build-windows.sh 32|64 [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
case ${1:-} in
  32) toolchain=cmake/mingw-w64-i686.cmake ;;
  64) toolchain=cmake/mingw-w64-x86_64.cmake ;;
  *) echo "usage: build-windows.sh 32|64 [TARGET...]" >&2; exit 2 ;;
esac
build=build-win$1
shift
scripts/install-deps.sh core windows
root=$PWD
toolchain=$root/$toolchain
jobs=$(nproc)

# GoogleTest from Debian's sources (Debian has no MinGW package of it).
gtest=$root/$build/googletest
if [[ ! -f $gtest/lib/cmake/GTest/GTestConfig.cmake ]]; then
  cmake -S /usr/src/googletest -B "$build/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$build/googletest-build" -j"$jobs"
  cmake --install "$build/googletest-build" >/dev/null
fi

# A toolchain's flags are only the first values of the tree's cache: when the
# toolchain files changed since the tree was configured, it is configured afresh.
toolchains=$(cat cmake/mingw-w64*.cmake | sha256sum)
fresh=()
[[ -f $build/CMakeCache.txt && $(cat "$build/toolchains.sha256" 2>/dev/null) != "$toolchains" ]] && fresh=(--fresh)
cmake "${fresh[@]}" -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DMARLIVA_WERROR=ON \
  -DMARLIVA_TESTS=ON -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null
echo "$toolchains" >"$build/toolchains.sha256"
if [[ $# -gt 0 ]]; then
  cmake --build "$build" -j"$jobs" --target "$@"
else
  cmake --build "$build" -j"$jobs"
fi
