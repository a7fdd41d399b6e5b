#!/usr/bin/env bash
# The dialog program on a real X server (Xvfb, no window manager): Enter in the
# input path starts nothing, Escape leaves the window open, Enter on a focused
# push button starts a run (its refusal shows the message box), minimizing
# does not end the program, and the close request ends it with exit status 1.
# Usage: program_under_xvfb.sh MARLIVA X11_USER
set -euo pipefail
marliva=$1 user=$2
caption="Marliva 1.0 by the Marliva developers"
work=$(mktemp -d)
xvfb=0 program=0
cleanup() {
  [[ $program -eq 0 ]] || kill "$program" 2>/dev/null || true
  [[ $xvfb -eq 0 ]] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

(cd "$work" && QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work" exec "$marliva") &
program=$!
"$user" "$caption" \
  key:Return wait:300 "gone:Debug Message" \
  key:Escape wait:300 "open:$caption" \
  key:Tab key:Return "focus:Debug Message" key:Return wait:300 "gone:Debug Message" \
  "focus:$caption" minimize restore wait:300 "open:$caption" close

for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$program" || status=$?
program=0
[[ $status -eq 1 ]] || { echo "marliva ended with status $status, not 1" >&2; exit 1; }
echo "marliva: keys as in a Win32 dialog, exit status 1 after the close request"
