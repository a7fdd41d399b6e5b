#!/usr/bin/env bash
# The Windows builds and their tests. The 32-bit programs (build-win32/, the
# ones that ship) are built, packed into the zip and checked to compute in
# SSE2 as the 64-bit builds do; then, for each width that runs, 64-bit
# (build-win64/) and 32-bit, the engine's tests, the dialog logic's tests and
# the real dialog's tests run under Wine on a virtual X display, and
# marliva-convert.exe against the Linux program's outputs.
# MARLIVA_WINDOWS_ARCH=32, 64 or both chooses the widths tested; by default
# both where the machine runs 32-bit programs, else 64. Fails on any failure,
# when a width asked for cannot run, and when no Windows test ran.
set -euo pipefail
shopt -s extglob
cd "$(dirname "$0")/.."

if [[ ${1:-} == --on-display ]]; then  # under xvfb-run, below
  source scripts/wine-env.sh "$2"
  # Warmed up first: test discovery runs each test program under a short time limit.
  timeout 120 "$wine" cmd /c exit >/dev/null 2>&1 || true
  ctest --test-dir "build-win$2" --output-on-failure -j"$(nproc)" --timeout 300 --no-tests=error
  tests/cli/same_on_windows.sh "$2"
  exit
fi

# Wine runs 32-bit Windows programs through its 32-bit Linux loader, which
# needs the kernel's 32-bit support; many virtual machines have it turned off.
# The 64-bit loader needs none.
if wine32=$(/usr/lib/wine/wine --version 2>&1); then runs32=yes; else runs32=no; fi
wine32=${wine32##*line +([0-9]): }  # what the system said, without the shell's words
case ${MARLIVA_WINDOWS_ARCH:-} in
  "") if [[ $runs32 == yes ]]; then widths="64 32"; else widths=64; fi ;;
  64) widths=64 ;;
  32) widths=32 ;;
  both) widths="64 32" ;;
  *) echo "test-windows: MARLIVA_WINDOWS_ARCH is 32, 64 or both, not '$MARLIVA_WINDOWS_ARCH'" >&2; exit 2 ;;
esac
if [[ $widths == *32* && $runs32 == no ]]; then
  echo "test-windows: the 32-bit tests were asked for (MARLIVA_WINDOWS_ARCH=$MARLIVA_WINDOWS_ARCH), but this machine cannot run 32-bit programs: $wine32" >&2
  exit 1
fi

scripts/build-windows.sh 32
kind=$(file -b build-win32/app/marliva.exe)
echo "marliva.exe: $kind"
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || { echo "marliva.exe is not a 32-bit GUI program" >&2; exit 1; }
packaging/check_zip.sh build-win32

# The 32-bit programs compute every time and frame in SSE2, as the 64-bit
# builds do: x87 arithmetic, in extended precision, rounds a time that lies on
# a half frame the other way. Loads, stores and integer conversions on the
# x87 stack (a double that a function returns comes back there) are the same.
x87=$(i686-w64-mingw32-objdump -d -M intel --no-show-raw-insn \
        build-win32/{engine,app,ui}/CMakeFiles/*/*.obj |
      awk '/^[^ ].*\.obj:/ { file = $1 } /^[0-9a-f]+ <.*>:$/ { fn = substr($2, 2, length($2) - 3) }
           /^ *[0-9a-f]+:\tf(i?(add|sub|subr|mul|div|divr)|(add|sub|subr|mul|div|divr)p|sqrt|prem1?|scale)( |$)/ {
             print file " " fn ": " $2 }' | sort -u)
if [[ -n $x87 ]]; then
  echo "test-windows: x87 arithmetic in the 32-bit build:" >&2
  echo "$x87" >&2
  exit 1
fi
echo "test-windows: the 32-bit programs compute in SSE2, without x87 arithmetic"

for bits in $widths; do
  [[ $bits == 64 ]] && scripts/build-windows.sh 64
  echo "=== windows stage: the ${bits}-bit tests under Wine ==="
  timeout 1800 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display "$bits"
done
if [[ $widths != *32* ]]; then
  why="MARLIVA_WINDOWS_ARCH=64"
  [[ $runs32 == no ]] && why="they need a kernel with 32-bit support, which this machine lacks ($wine32)"
  echo "=== windows stage: the 64-bit tests passed; the 32-bit tests were NOT run: $why ==="
else
  echo "=== windows stage: the tests of the $(echo "$widths" | sed 's/ / and /')-bit programs passed ==="
fi
