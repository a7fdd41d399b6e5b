#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: marliva.exe under Wine in a virtual desktop
# (which draws the caption bar) on a virtual X display, grabbed with ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
width=400 height=290

if [[ ${1:-} == --grab ]]; then  # on the virtual display
  wine explorer /desktop=marliva,${width}x${height} build-win32/app/marliva.exe &
  sleep 8
  ffmpeg -loglevel error -y -f x11grab -video_size ${width}x${height} -i "$DISPLAY" \
    -frames:v 1 docs/screenshot-windows.png
  wineserver -k
  exit 0
fi

scripts/build-windows.sh marliva
scripts/install-deps.sh bench  # ffmpeg
source scripts/wine-env.sh
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --grab
echo "docs/screenshot-windows.png"
