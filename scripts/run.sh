#!/usr/bin/env bash
# The main job: builds marliva-convert and converts the bundled sample, showing its log.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh core
cmake -S . -B build -DMARLIVA_QT=OFF >/dev/null
cmake --build build -j"$(nproc)" --target marliva-convert >/dev/null
out=build/sintel_en.ssa
echo "Converting samples/sintel_en.srt to $out:"
build/app/marliva-convert samples/sintel_en.srt "$out"
echo
echo "First events of $out:"
grep -m 3 '^Dialogue:' "$out"
