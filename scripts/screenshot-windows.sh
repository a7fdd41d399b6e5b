#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: marliva.exe under Wine in a virtual desktop
# (which draws the caption bar) on a virtual X display, grabbed with ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
# The desktop fills the screen, so that the pointer in its middle gives it the
# keyboard focus and the centred dialog shows as the active window; the grab is
# the middle of the screen.
screen_width=1024 screen_height=768 width=400 height=290

if [[ ${1:-} == --grab ]]; then  # on the virtual display
  source scripts/wine-env.sh 32
  "$wine" explorer /desktop=marliva,${screen_width}x${screen_height} build-win32/app/marliva.exe &
  sleep 8
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size ${width}x${height} \
    -i "$DISPLAY+$(((screen_width - width) / 2)),$(((screen_height - height) / 2))" \
    -frames:v 1 docs/screenshot-windows.png
  exit 0
fi

scripts/build-windows.sh 32 marliva
scripts/install-deps.sh bench  # ffmpeg
timeout 120 xvfb-run -a -s "-screen 0 ${screen_width}x${screen_height}x24" "$0" --grab
echo "docs/screenshot-windows.png"
