#!/usr/bin/env bash
# The page: its engine under node's test runner (tests/web/convert.test.js:
# every file of tests/data converted in memory against the native program's
# outputs), then the page itself in headless Chromium from file://
# (tests/web/browser_test.py, against the native marliva-convert). The
# browser's steps are skipped only where Chromium cannot be installed, and
# then the stage says so in capitals.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-web.sh
echo "web: the page's engine under node"
MARLIVA_WEB_JS=$PWD/build-web/marliva.js node --test tests/web/

if ! scripts/install-deps.sh browser; then
  echo "web: CHROMIUM COULD NOT BE INSTALLED: THE PAGE'S BROWSER TESTS WERE NOT RUN" >&2
  exit 0
fi
# The native program and the file generator that the browser's steps compare
# with, in the native stage's build.
scripts/install-deps.sh core qt
cmake -S . -B build -DMARLIVA_WERROR=ON -DMARLIVA_STATIC_CONVERT=OFF >/dev/null
cmake --build build -j"$(nproc)" --target marliva-convert marliva-gensubs >/dev/null
echo "web: the page in headless Chromium"
# Debian's own python3, whose python3-selenium drives Debian's chromium.
MARLIVA_PAGE=$PWD/build-web/marliva.html MARLIVA_CONVERT=$PWD/build/app/marliva-convert \
  MARLIVA_GENSUBS=$(find "$PWD/build" -name marliva-gensubs -type f -perm -u+x | head -1) \
  /usr/bin/python3 tests/web/browser_test.py -v
