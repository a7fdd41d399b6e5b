#!/usr/bin/env bash
# marliva --help and --version answer before Qt starts: with no display at all
# they print and exit 0, beside any other argument. Without a display that it
# can open (none set, one that nobody serves, a platform Qt does not have) the
# dialog says so in one line and exits 1, where Qt would abort.
# Usage: help_without_display.sh MARLIVA VERSION
set -euo pipefail
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }
[[ $(run "$1" ignored --version) == "marliva $2" ]] || { echo "marliva --version: wrong" >&2; exit 1; }
[[ $(run "$1" -h | head -n 1) == "usage: marliva [--help | --version]" ]] || { echo "marliva -h: wrong" >&2; exit 1; }
instead="; marliva-convert converts files without one"
while IFS='|' read -r setting said; do
  status=0
  err=$(run $setting "$1" 2>&1 >/dev/null) || status=$?  # $setting split on purpose
  [[ $status == 1 && $err == "marliva: $said$instead" ]] ||
    { echo "marliva with '$setting': status $status, said: $err" >&2; exit 1; }
done <<'CASES'
XDG_RUNTIME_DIR=/tmp|no display to open the dialog on (neither DISPLAY nor WAYLAND_DISPLAY is set)
DISPLAY=:97|cannot open the dialog on the display ":97" (DISPLAY)
QT_QPA_PLATFORM=none|cannot open the dialog on the platform "none" (QT_QPA_PLATFORM)
CASES
