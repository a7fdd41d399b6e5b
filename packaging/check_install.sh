#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks what lands where: the two
# programs, the desktop entry that starts marliva, and the 32x32 icon.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "check_install: $*" >&2; exit 1; }
for program in marliva marliva-convert; do
  [[ -x $prefix/bin/$program ]] || fail "bin/$program missing"
done
desktop=$prefix/share/applications/marliva.desktop
[[ -f $desktop ]] || fail "desktop entry missing"
for line in "Type=Application" "Exec=marliva" "Icon=marliva" "Terminal=false"; do
  grep -qx "$line" "$desktop" || fail "desktop entry lacks $line"
done
icon=$prefix/share/icons/hicolor/32x32/apps/marliva.png
cmp -s "$icon" "$source/ui/marliva.png" || fail "icon is not ui/marliva.png"
# A PNG's width and height are the two big-endian words after its IHDR tag.
[[ $(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n') == 0000002000000020 ]] || fail "icon is not 32x32"
echo "check_install: programs, desktop entry and icon in place"
