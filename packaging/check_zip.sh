#!/usr/bin/env bash
# Packs the Windows build into the .zip that `make package` makes and checks it:
# both programs under bin/, and README.txt and LICENSE.txt beside them with the
# line ends of Windows.
# Usage: check_zip.sh WINDOWS_BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check_zip: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
zips=("$work"/*.zip)
[[ -f ${zips[0]} ]] || fail "cpack made no .zip"
(cd "$work" && cmake -E tar xf "${zips[0]}")
top=${zips[0]%.zip}
for file in bin/marliva.exe bin/marliva-convert.exe README.txt LICENSE.txt; do
  [[ -s $top/$file ]] || fail "$file missing from $(basename "${zips[0]}")"
done
for text in README.txt LICENSE.txt; do
  # Every line ends in CR LF, the last one too.
  if grep -q $'[^\r]$\|^$' "$top/$text" || [[ $(tail -c 2 "$top/$text" | od -An -tx1 | tr -d ' ') != 0d0a ]]; then
    fail "$text has lines without CR LF"
  fi
done
grep -q "marliva-convert \[options\] INPUT OUTPUT" "$top/README.txt" && grep -q -- "--batch \[batch options\]" "$top/README.txt" || fail "README.txt lacks the usage"
echo "check_zip: $(basename "${zips[0]}") holds the programs, README.txt and LICENSE.txt"
