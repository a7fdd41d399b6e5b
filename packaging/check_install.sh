#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks what lands where: the two
# programs and their manual pages, the desktop entry that starts marliva, the
# icons in the sizes menus use, and the copyright file.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "check_install: $*" >&2; exit 1; }
for program in marliva marliva-convert; do
  [[ -x $prefix/bin/$program ]] || fail "bin/$program missing"
  zcmp -s "$prefix/share/man/man1/$program.1.gz" "$source/man/$program.1" ||
    fail "share/man/man1/$program.1.gz is not man/$program.1"
done
desktop=$prefix/share/applications/marliva.desktop
[[ -f $desktop ]] || fail "desktop entry missing"
for line in "Type=Application" "Exec=marliva" "Icon=marliva" "Terminal=false"; do
  grep -qx "$line" "$desktop" || fail "desktop entry lacks $line"
done
# A PNG's width and height are the two big-endian words after its IHDR tag.
for row in 32:ui/marliva.png 48:ui/marliva-48.png 256:ui/marliva-256.png; do
  size=${row%%:*} picture=${row#*:}
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/marliva.png
  cmp -s "$icon" "$source/$picture" || fail "the ${size}x$size icon is not $picture"
  [[ $(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n') == $(printf '%08x%08x' "$size" "$size") ]] ||
    fail "$picture is not ${size}x$size"
done
grep -qx "License: Expat" "$prefix/share/doc/marliva/copyright" || fail "copyright file missing"
echo "check_install: programs, manual pages, desktop entry, icons and copyright in place"
