#!/usr/bin/env bash
# The dialog program on a real X server (Xvfb): Escape and Enter leave it open,
# and the close request ends it with exit status 1.
# Usage: program_under_xvfb.sh MARLIVA X11_USER
set -euo pipefail
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
(cd "$work" && QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work" exec "$1") &
program=$!
"$2" marliva || { echo "the dialog did not open, or Escape or Enter closed it" >&2; exit 1; }
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && { echo "marliva did not end on the close request" >&2; exit 1; }
status=0
wait "$program" || status=$?
[[ $status == 1 ]] || { echo "marliva ended with status $status, not 1" >&2; exit 1; }
