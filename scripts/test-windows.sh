#!/usr/bin/env bash
# The Windows build and its tests: marliva.exe cross-compiled with MinGW-w64 and
# the zip packed from it, then the engine's tests, the dialog logic's tests and
# the real dialog's tests run under Wine on a virtual X display, and
# marliva-convert.exe against the Linux program's outputs, real files and a
# file of 1,000,000 entries among them (the native generator and
# marliva-convert, built in build/ as the native stage builds them). Fails on
# any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${1:-} == --on-display ]]; then  # under xvfb-run, below
  source scripts/wine-env.sh
  # Warmed up first: test discovery runs each test program under a short time limit.
  timeout 120 wine cmd /c exit >/dev/null 2>&1 || true
  ctest --test-dir build-win32 --output-on-failure -j"$(nproc)" --timeout 300
  tests/cli/same_on_windows.sh build-win32/app/marliva-convert.exe tests \
    build/tests/bench_golden/marliva-gensubs build/app/marliva-convert
  exit
fi

scripts/build-windows.sh
kind=$(file -b build-win32/app/marliva.exe)
echo "marliva.exe: $kind"
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || { echo "marliva.exe is not a 32-bit GUI program" >&2; exit 1; }
packaging/check_zip.sh build-win32

# Wine runs 32-bit Windows programs through its 32-bit Linux loader, which
# needs the kernel's 32-bit support; some virtual machines have it turned off.
# There the programs are built and packed above, and the stage says loudly
# that their tests did not run.
if ! wine_version=$(/usr/lib/wine/wine --version 2>&1) && [[ $wine_version == *"Exec format error"* ]]; then
  echo "test-windows: NOT RUN under Wine: this machine cannot run 32-bit programs ($wine_version)" >&2
  echo "=== windows stage: built and packed; its tests under Wine were NOT run on this machine ===" >&2
  exit 0
fi

# The native programs the Windows one is compared with, in build/ configured as
# the native stage configures it (scripts/test-native.sh).
scripts/install-deps.sh core qt package
cmake -S . -B build -DMARLIVA_WERROR=ON -DMARLIVA_STATIC_CONVERT=OFF >/dev/null
cmake --build build -j"$(nproc)" --target marliva-gensubs marliva-convert

timeout 1800 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display
