#!/usr/bin/env bash
# Builds the native programs and tests with warnings as errors and runs them,
# among them the check of the .deb with lintian, desktop-file-validate and groff.
set -euo pipefail
cd "$(dirname "$0")/.."
# The faults of make mutants that no longer find their text, before any build.
scripts/mutants.sh --check
scripts/install-deps.sh core qt package
# The package's check needs marliva-convert linked dynamically, also in a tree
# configured when the static link was the default.
cmake -S . -B build -DMARLIVA_WERROR=ON -DMARLIVA_STATIC_CONVERT=OFF >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
