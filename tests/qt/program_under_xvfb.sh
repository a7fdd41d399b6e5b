#!/usr/bin/env bash
# The dialog program on a real X server (Xvfb, no window manager): Escape and
# Enter leave the window open, and so does minimizing it; the close request ends
# the program with exit status 1.
# Usage: program_under_xvfb.sh MARLIVA X11_USER
set -euo pipefail
marliva=$1 user=$2
work=$(mktemp -d)
xvfb=0 program=0
trap '[[ $program == 0 ]] || kill $program 2>/dev/null; [[ $xvfb == 0 ]] || kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

(cd "$work" && QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work" exec "$marliva") &
program=$!
"$user" marliva key:Escape key:Return open minimize restore open close
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$program" || status=$?
program=0
[[ $status == 1 ]] || { echo "marliva ended with status $status, not 1" >&2; exit 1; }
