#!/usr/bin/env bash
# Runs a program of a Windows build under Wine: Wine's loader for its width
# (the 64-bit one needs no 32-bit support from the kernel), the prefix of its
# build tree, no debug output, no Mono or Gecko prompts, and a time limit so
# that a hung program never blocks a test run.
# usage: wine-run.sh 32|64 PROGRAM [ARGUMENT...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bits=$1
shift
source "$here/wine-arch.sh" "$bits"
exec timeout -k 10 "${MARLIVA_WINE_TIMEOUT:-300}" "$wine" "$@"
