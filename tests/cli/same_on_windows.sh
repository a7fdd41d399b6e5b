#!/usr/bin/env bash
# marliva-convert.exe under Wine writes what the Linux program writes: the
# writers' cases and real files in other tools' layouts against the same
# expected outputs, UTF-16 in
# and out, no subtitles as a failure, a batch that keeps its inputs, a batch
# of folders as the Linux program converts it, and a
# generated file of 1,000,000 entries (about 85 MB) to SSA and back, byte for
# byte as the Linux marliva-convert converts it.
# usage: same_on_windows.sh MARLIVA_CONVERT_EXE TESTS_DIR MARLIVA_GENSUBS MARLIVA_CONVERT
set -u
exe=$(realpath "$1") real=$(realpath "$2")/data/real gensubs=$(realpath "$3") linux=$(realpath "$4")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  "$@" || { failed=$((failed + 1)); echo "FAILED: $name"; }
}
convert() { timeout 600 wine "$exe" "$@" >stdout 2>stderr; status=$?; }

while read -r input output options; do
  [[ -z $input || $input == \#* ]] && continue
  in_ext=${input##*.}; [ "$in_ext" = sub ] && in_ext=srt
  cp "$real/$input" "in.$in_ext"
  convert $options "in.$in_ext" "$output"  # $options split on purpose
  check "$input: status $status" [ "$status" = 0 ]
  check "$input => $output" cmp -s "$output" "$real/expected/$output"
done <"$real/cases.txt"

while read -r input expected subs want options; do
  [[ -z $input || $input == \#* ]] && continue
  out="case.${expected##*.}"
  [ "$expected" = - ] && out="case.${input##*.}.out.$([ "${input##*.}" = ssa ] && echo srt || echo ssa)"
  rm -f "$out"
  convert $options "$real/../writers/$input" "$out"  # $options split on purpose
  check "$input: status $status" [ "$status" = "$want" ]
  if [ "$expected" = - ]; then
    check "$input: nothing written" [ ! -e "$out" ]
  else
    check "$input: output" cmp -s "$out" "$real/../writers/$expected"
  fi
done <"$real/../writers/cases.txt"

# UTF-16: the same script as from UTF-8, in UTF-16 with its mark.
{ printf '\xFF\xFE'; tail -c +4 "$real/pepper_carrot_ep6_ru_bom.srt" | iconv -f UTF-8 -t UTF-16LE; } >utf16.srt
convert utf16.srt utf16.ssa
check "UTF-16 mark" [ "$(head -c 2 utf16.ssa | od -An -tx1 | tr -d ' ')" = fffe ]
check "UTF-16 text" [ "$(tail -c +3 utf16.ssa | iconv -f UTF-16LE -t UTF-8)" = \
                      "$(tail -c +4 "$real/expected/pepper_carrot_ep6_ru_bom.ssa")" ]

printf 'just some text\r\n' >text.srt
convert text.srt text.ssa
check "no subtitles: exit status" [ "$status" = 1 ]

cp "$real/subsrt_sample.srt" a.srt
cp "$real/expected/subsrt_sample.ssa" a.ssa
convert --overwrite --batch a.srt a.ssa
check "batch of a pair: exit status" [ "$status" = 1 ]
check "batch keeps a.srt" cmp -s a.srt "$real/subsrt_sample.srt"
check "batch keeps a.ssa" cmp -s a.ssa "$real/expected/subsrt_sample.ssa"

# A batch over a tree of folders: the lines, totals and outputs of the Linux
# program, on one thread and on four; --json read by a JSON parser; a dry run
# that writes nothing.
mkdir -p lib/s1/deep lib/s2
cp "$real/subsrt_sample.srt" lib/s1/e1.srt; cp "$real/libjass_unit_2.ass" lib/s1/deep/e3.ass
cp "$real/subsrt_sample.srt" lib/s2/e1.srt; printf 'just text\r\n' >lib/s2/text.srt
"$linux" --batch -r -o linux lib/s1 lib/s2 >linux.txt
for jobs in 1 4; do
  convert --batch -r -j $jobs -o out$jobs lib/s1 lib/s2
  check "batch -j $jobs: status $status" [ "$status" = 1 ]
  check "batch -j $jobs: the Linux program's lines" diff <(tr -d '\r' <stdout | sed "s/out$jobs/linux/") linux.txt
  check "batch -j $jobs: the Linux program's outputs" diff -r "out$jobs" linux
done
convert --batch -r -n --json -o dry lib
check "dry run: nothing written" [ ! -e dry ]
check "dry run: JSON" python3 -c '
import json, sys
objects = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
assert [o["status"] for o in objects[:-1]] == ["converted"] * 3 + ["failed"], objects
assert objects[-1]["files"] == 4 and objects[-1]["dry_run"] is True, objects[-1]' stdout

# A big file, as far as a 32-bit program's memory goes, both ways.
"$gensubs" srt 1000000 1 big.srt
for step in "big.srt ssa" "big_linux.ssa srt"; do
  read -r input to <<<"$step"
  "$linux" "$input" "big_linux.$to" >/dev/null
  convert "$input" "big_windows.$to"
  check "big file to $to: status $status" [ "$status" = 0 ]
  check "big file to $to: the same bytes" cmp -s "big_linux.$to" "big_windows.$to"
done

echo "same_on_windows: $failed failed"
[ "$failed" = 0 ]
