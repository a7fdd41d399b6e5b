#!/usr/bin/env bash
# The 32-bit marliva-convert.exe converts a big file under Wine: a generated SRT
# file of 1,000,000 entries (about 85 MB) to SSA, and that SSA back to SRT, each
# output byte for byte what the Linux program writes from the same input.
# usage: big_file_on_windows.sh MARLIVA_GENSUBS MARLIVA_CONVERT MARLIVA_CONVERT_EXE [ENTRIES]
# Runs where Wine is set up (scripts/test-windows.sh, under its prefix).
set -u
gensubs=$(realpath "$1") linux=$(realpath "$2") exe=$(realpath "$3") entries=${4:-1000000}
work=$(mktemp -d "${TMPDIR:-/tmp}/marliva-big-file.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

# run WHO INPUT OUTPUT: one conversion, its exit status checked; a hang is cut off.
run() {
  local who=$1 input=$2 output=$3 start=$EPOCHREALTIME status
  if [[ $who == windows ]]; then
    timeout 600 wine "$exe" "$input" "$output" >"$output.log" 2>&1
  else
    timeout 600 "$linux" "$input" "$output" >"$output.log" 2>&1
  fi
  status=$?
  echo "big_file_on_windows: $who $input => $output: status $status," \
    "$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f s", b - a }')"
  [[ $status == 0 ]] || { fail "$who $input => $output exited with $status"; cat "$output.log"; }
}

"$gensubs" srt "$entries" 1 big.srt || { echo "FAILED: generating the input"; exit 1; }
echo "big_file_on_windows: big.srt, $entries entries, $(stat -c %s big.srt) bytes"

run linux big.srt linux.ssa
run windows big.srt windows.ssa
cmp -s linux.ssa windows.ssa || fail "SRT => SSA: the outputs differ"
rm -f big.srt

run linux linux.ssa linux.srt
run windows windows.ssa windows.srt
cmp -s linux.srt windows.srt || fail "SSA => SRT: the outputs differ"
# Both programs count the same subtitles in their logs.
for output in ssa srt; do
  subs=$(grep '^subs' "linux.$output.log")
  [[ -n $subs && $subs == $(grep '^subs' "windows.$output.log" | tr -d '\r') ]] ||
    fail "the logs of the conversions to $output count different subtitles"
done

echo "big_file_on_windows: $failed failed"
[[ $failed == 0 ]]
