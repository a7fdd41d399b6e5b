#!/usr/bin/env bash
# Renders the Qt dialog's window to docs/screenshot-linux.png on the offscreen
# platform (no display needed), as the program creates it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh core qt
cmake -S . -B build-qt -DMARLIVA_QT=ON >/dev/null
cmake --build build-qt -j"$(nproc)" --target window_screenshot >/dev/null
mkdir -p docs
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$(mktemp -d)" \
  build-qt/app/window_screenshot docs/screenshot-linux.png
echo "Wrote docs/screenshot-linux.png"
