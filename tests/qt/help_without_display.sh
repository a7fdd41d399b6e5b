#!/usr/bin/env bash
# marliva --help and --version answer before Qt starts: with no display at all
# (where Qt would abort) they print and exit 0, beside any other argument.
# Usage: help_without_display.sh MARLIVA VERSION
set -euo pipefail
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" "${@:2}"; }
[[ $(run "$1" ignored --version) == "marliva $2" ]] || { echo "marliva --version: wrong" >&2; exit 1; }
[[ $(run "$1" -h | head -n 1) == "usage: marliva [--help | --version]" ]] || { echo "marliva -h: wrong" >&2; exit 1; }
