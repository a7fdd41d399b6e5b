#!/usr/bin/env bash
# marliva-convert.exe of the 32- or 64-bit Windows build, under Wine, writes
# what the Linux program writes: every writers' case and every real file
# against the expected outputs and the Linux program's outputs, frame lines of
# real files at 23.976 and 29.97 frames per second, UTF-16 in and out, no
# subtitles as a failure, a batch that keeps its inputs, a batch of folders
# with the Linux program's lines in the paths a Windows user reads (joined
# with "\") on one thread and on four, and a generated file of 1,000,000
# entries (about 85 MB) to SSA and back, byte for byte as the Linux program
# converts it. Builds what it runs: the Windows program, and the native
# marliva-convert and generator in build/ as the native stage configures it.
# usage: same_on_windows.sh 32|64
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bits=${1:-}
[[ $bits == 32 || $bits == 64 ]] || { echo "usage: same_on_windows.sh 32|64" >&2; exit 2; }
"$root/scripts/install-deps.sh" core qt package &&
  cmake -S "$root" -B "$root/build" -DMARLIVA_WERROR=ON -DMARLIVA_STATIC_CONVERT=OFF >/dev/null &&
  cmake --build "$root/build" -j"$(nproc)" --target marliva-gensubs marliva-convert >/dev/null &&
  "$root/scripts/build-windows.sh" "$bits" marliva-convert >/dev/null ||
  { echo "same_on_windows: the programs do not build"; exit 1; }
exe=$root/build-win$bits/app/marliva-convert.exe linux=$root/build/app/marliva-convert
real=$root/tests/data/real writers=$root/tests/data/writers
gensubs=$(find "$root/build" -name marliva-gensubs -type f -perm -u+x | head -n 1)  # where the tree puts it
windows() { MARLIVA_WINE_TIMEOUT=600 "$root/scripts/wine-run.sh" "$bits" "$exe" "$@"; }
convert=windows
source "$(dirname "$0")/helpers.sh"
cd "$work" || exit 1
# One Wine server for the whole run, as a server that ends between two runs
# can drop the next one's connection: the caller's when it keeps one.
source "$root/scripts/wine-arch.sh" "$bits"
if wineserver -p 120 2>/dev/null; then trap 'wineserver -k; rm -rf "$work"' EXIT; fi

while read -r input output options; do
  [[ -z $input || $input == \#* ]] && continue
  in_ext=${input##*.}; [ "$in_ext" = sub ] && in_ext=srt
  cp "$real/$input" "in.$in_ext"
  run $options "in.$in_ext" "$output"  # $options split on purpose
  check "$input: status $status" [ "$status" = 0 ]
  check "$input => $output" same "$output" "$real/expected/$output"
done <"$real/cases.txt"

while read -r input expected subs want options; do
  [[ -z $input || $input == \#* ]] && continue
  written="case.${expected##*.}"
  [ "$expected" = - ] && written="case.${input##*.}.out.$([ "${input##*.}" = ssa ] && echo srt || echo ssa)"
  rm -f "$written"
  run $options "$writers/$input" "$written"  # $options split on purpose
  check "$input: status $status" [ "$status" = "$want" ]
  if [ "$expected" = - ]; then
    check "$input: nothing written" [ ! -e "$written" ]
  else
    check "$input: output" same "$written" "$writers/$expected"
  fi
done <"$writers/cases.txt"

# Every real file as the Linux program converts it, its log and messages
# included (but the run's time and speed): to the other kind, and an SRT file
# to frame lines at 23.976 frames per second and those back at 29.97.
logOf() { tr -d '\r' <"$1" | grep -v -e '^time :' -e '^speed:'; }
for input in "$real"/*.s[rs]t "$real"/*.ass "$real"/*.sub; do
  name=$(basename "$input") kind=${input##*.}
  from=in.${kind/sub/srt}
  cp "$input" "$from"
  case $kind in ssa | ass) steps="srt" ;; *) steps="ssa frames.srt timing.srt" ;; esac
  for step in $steps; do
    fps=25; [[ $step == frames.srt ]] && fps=23.976; [[ $step == timing.srt ]] && fps=29.97
    "$linux" --fps $fps "$from" "linux.$step" >linux.log 2>linux.err
    linux_status=$?
    run --fps $fps "$from" "windows.$step"
    check "$name to $step: status $status" [ "$status" = "$linux_status" ]
    check "$name to $step: the Linux program's bytes" same "windows.$step" "linux.$step"
    check "$name to $step: the Linux program's log" diff <(logOf "$work/stdout") <(logOf linux.log)
    check "$name to $step: the Linux program's messages" diff <(logOf "$work/stderr") <(logOf linux.err)
    [[ $step == frames.srt ]] && from=windows.frames.srt
  done
done

# UTF-16: the same script as from UTF-8, in UTF-16 with its mark.
{ printf '\xFF\xFE'; tail -c +4 "$real/pepper_carrot_ep6_ru_bom.srt" | iconv -f UTF-8 -t UTF-16LE; } >utf16.srt
run utf16.srt utf16.ssa
check "UTF-16 mark" [ "$(head -c 2 utf16.ssa | od -An -tx1 | tr -d ' ')" = fffe ]
check "UTF-16 text" [ "$(tail -c +3 utf16.ssa | iconv -f UTF-16LE -t UTF-8)" = \
                      "$(tail -c +4 "$real/expected/pepper_carrot_ep6_ru_bom.ssa")" ]

printf 'just some text\r\n' >text.srt
run text.srt text.ssa
check "no subtitles: exit status" [ "$status" = 1 ]

cp "$real/subsrt_sample.srt" a.srt
cp "$real/expected/subsrt_sample.ssa" a.ssa
run --overwrite --batch a.srt a.ssa
check "batch of a pair: exit status" [ "$status" = 1 ]
check "batch keeps a.srt" same a.srt "$real/subsrt_sample.srt"
check "batch keeps a.ssa" same a.ssa "$real/expected/subsrt_sample.ssa"

# A batch over a tree of folders: the lines, totals and outputs of the Linux
# program, on one thread and on four, with the folders and names that the
# program joins separated by "\" and the folders typed as typed; --json read
# by a JSON parser, with the same paths; a dry run that writes nothing.
mkdir -p lib/s1/deep lib/s2
cp "$real/subsrt_sample.srt" lib/s1/e1.srt; cp "$real/libjass_unit_2.ass" lib/s1/deep/e3.ass
cp "$real/subsrt_sample.srt" lib/s2/e1.srt; printf 'just text\r\n' >lib/s2/text.srt
"$linux" --batch -r -o linux lib/s1 lib/s2 >linux.txt
for jobs in 1 4; do
  run --batch -r -j $jobs -o out$jobs lib/s1 lib/s2
  check "batch -j $jobs: status $status" [ "$status" = 1 ]
  check "batch -j $jobs: joined with \\" grep -qF "lib/s1\\deep\\e3.ass -> out$jobs\\deep\\e3.srt: " "$work/stdout"
  check "batch -j $jobs: the Linux program's lines" \
    diff <(tr -d '\r' <"$work/stdout" | tr '\\' / | sed "s/out$jobs/linux/") linux.txt
  check "batch -j $jobs: the Linux program's outputs" diff -r "out$jobs" linux
done
run --batch -r -n --json -o dry lib
check "dry run: nothing written" [ ! -e dry ]
check "dry run: JSON" python3 -c '
import json, sys
objects = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
assert [(o["input"], o["output"], o["status"]) for o in objects[:-1]] == [
    ("lib\\s1\\deep\\e3.ass", "dry\\s1\\deep\\e3.srt", "converted"),
    ("lib\\s1\\e1.srt", "dry\\s1\\e1.ssa", "converted"),
    ("lib\\s2\\e1.srt", "dry\\s2\\e1.ssa", "converted"),
    ("lib\\s2\\text.srt", "dry\\s2\\text.ssa", "failed")], objects
assert objects[-1]["files"] == 4 and objects[-1]["dry_run"] is True, objects[-1]' "$work/stdout"
check "dry run: the lines' paths as the JSON's" grep -qF 'lib\s2\e1.srt -> dry\s2\e1.ssa: would be converted' "$work/stderr"

# A big file, as far as a 32-bit program's memory goes, both ways.
"$gensubs" srt 1000000 1 big.srt
for step in "big.srt ssa" "big_linux.ssa srt"; do
  read -r input to <<<"$step"
  "$linux" "$input" "big_linux.$to" >/dev/null
  run "$input" "big_windows.$to"
  check "big file to $to: status $status" [ "$status" = 0 ]
  check "big file to $to: the same bytes" same "big_linux.$to" "big_windows.$to"
done

echo "same_on_windows ($bits-bit):"
finish && [ "$passed" -gt 0 ]
