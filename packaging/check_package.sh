#!/usr/bin/env bash
# Packs a build into the .deb that `make package` makes and checks it as a
# distribution's reviewer would: lintian (pedantic, every tag shown), the
# desktop entry with desktop-file-validate, the manual pages with groff's
# warnings on; and that marliva-convert names no shared library but the C
# library's. Any finding fails.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check_package: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/out/*.deb)
[[ -f ${debs[0]} ]] || fail "cpack made no .deb"
deb=${debs[0]}
echo "check_package: $(basename "$deb"), Depends: $(dpkg-deb -f "$deb" Depends)"

# Lintian says on standard error that it runs as root; only its tags count.
lintian --pedantic --display-info --display-experimental --fail-on none "$deb" \
  >"$work/lintian.txt" 2>"$work/lintian.err" || { cat "$work/lintian.err" >&2; fail "lintian failed"; }
if grep -q . "$work/lintian.txt"; then
  cat "$work/lintian.txt" >&2
  fail "lintian has findings"
fi

dpkg-deb -x "$deb" "$work/root"
# marliva-convert loads and binds the C library alone when it starts
# (app/CMakeLists.txt); each further library costs every run its mapping and
# its symbol lookups.
others=$(readelf -d "$work/root/usr/bin/marliva-convert" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' |
  grep -v -e '^libc\.so\.' -e '^ld-linux' || true)
[[ -z $others ]] || fail "marliva-convert loads more than the C library:" $others
findings=$(desktop-file-validate "$work/root/usr/share/applications/marliva.desktop" 2>&1) ||
  true
[[ -z $findings ]] || { echo "$findings" >&2; fail "desktop-file-validate has findings"; }

pages=("$work"/root/usr/share/man/man1/*.1.gz)
[[ ${#pages[@]} -eq 2 ]] || fail "expected two manual pages, found ${#pages[@]}"
for page in "${pages[@]}"; do
  findings=$(zcat "$page" | groff -ww -z -man 2>&1) || true
  [[ -z $findings ]] || { echo "$findings" >&2; fail "groff warns about $(basename "$page")"; }
done
echo "check_package: lintian, desktop-file-validate and groff found nothing"
