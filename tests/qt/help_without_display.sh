#!/usr/bin/env bash
# marliva --help and --version answer before Qt starts: with no display at all
# they print and exit 0 (Qt would abort without one), beside any other argument.
# Usage: help_without_display.sh MARLIVA VERSION
set -uo pipefail
marliva=$1 version=$2
failed=0
while IFS='|' read -r args expected; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$marliva" $args 2>&1)
  status=$?
  if [[ $status != 0 || $(head -n 1 <<<"$out") != "$expected" ]]; then
    echo "FAILED: marliva $args: status $status, printed: $out"
    failed=1
  fi
done <<CASES
--help|usage: marliva [--help | --version]
-h|usage: marliva [--help | --version]
ignored --version|marliva $version
CASES
exit $failed
