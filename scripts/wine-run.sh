#!/usr/bin/env bash
# Runs a program of the Windows build under Wine: its own prefix inside the build
# tree, no debug output, no Mono or Gecko prompts, and a time limit so that a
# hung program never blocks a test run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build-win32/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec timeout -k 10 "${MARLIVA_WINE_TIMEOUT:-300}" wine "$@"
