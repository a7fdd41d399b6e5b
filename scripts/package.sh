#!/usr/bin/env bash
# Builds the programs for installing and packs them. Jobs (any of them, in order):
#   deb      build-package/packages/marliva_<version>_<arch>.deb (the Linux programs)
#   zip      build-win32-package/packages/marliva-<version>-win32.zip (the 32-bit
#            Windows programs, cross-built)
#   install  installs the Linux programs under PREFIX (default /usr/local)
set -euo pipefail
cd "$(dirname "$0")/.."

linux_build() {
  scripts/install-deps.sh core qt
  # Named, so that a tree configured when the static link was the default links dynamically.
  # Release (-O3): the programs users get are the fast ones; the package strips them anyway.
  cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DMARLIVA_QT=ON -DMARLIVA_TESTS=OFF \
    -DMARLIVA_STATIC_CONVERT=OFF >/dev/null
  cmake --build build-package -j"$(nproc)" >/dev/null
}

jobs=("$@")
[[ ${#jobs[@]} -gt 0 ]] || jobs=(deb zip)
for job in "${jobs[@]}"; do
  case "$job" in
    deb)
      linux_build
      scripts/install-deps.sh deb  # dpkg-shlibdeps and file, which cpack runs
      rm -f build-package/packages/*.deb
      (cd build-package && cpack -G DEB >/dev/null)
      ls build-package/packages/*.deb ;;
    zip)
      scripts/install-deps.sh core windows
      # Configured afresh each time, so that the toolchain's flags are today's.
      cmake --fresh --no-warn-unused-cli -S . -B build-win32-package \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DMARLIVA_TESTS=OFF >/dev/null
      cmake --build build-win32-package -j"$(nproc)" >/dev/null
      rm -f build-win32-package/packages/*.zip
      (cd build-win32-package && cpack -G ZIP >/dev/null)
      ls build-win32-package/packages/*.zip ;;
    install)
      linux_build
      cmake --install build-package --prefix "${PREFIX:-/usr/local}" ;;
    *) echo "package: unknown job $job (deb, zip, install)" >&2; exit 2 ;;
  esac
done
