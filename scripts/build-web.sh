#!/usr/bin/env bash
# Builds the page with Debian's emscripten: build-web/marliva.js (the engine
# as WebAssembly inside one script, which node's tests load) and
# build-web/marliva.html (the page, that script inlined: one file that works
# from file:// and offline).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh web
# emscripten's JavaScript tools need acorn, which Debian installs for its own
# node; a node from elsewhere finds it only through NODE_PATH.
if ! node -e "require('acorn')" 2>/dev/null; then
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
fi
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DMARLIVA_WERROR=ON >/dev/null
cmake --build build-web -j"$(nproc)"
echo "Built build-web/marliva.html ($(stat -c %s build-web/marliva.html) bytes)"
