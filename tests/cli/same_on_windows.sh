#!/usr/bin/env bash
# marliva-convert.exe of the 32- or 64-bit Windows build, under Wine, writes
# what the Linux program writes: every writers' case against its expected
# output, every real file against the Linux program's outputs, frame lines of
# real files at 23.976 and 29.97 frames per second, a batch that keeps its
# inputs, a batch of folders with the Linux program's lines in the paths a
# Windows user reads (joined with "\") on one thread and on four, an input
# changed while it is read, device names as outputs and inputs, a batch whose
# reader is gone, and a generated file of 1,000,000 entries (about 85 MB) to
# SSA and back, byte for byte as the Linux program converts it. Builds what
# it runs: the Windows program, and the native marliva-convert and generator
# in build/ as the native stage configures it.
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

run_cases "$writers/cases.txt" writers_case

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

# An input that another program truncates halfway through the first read of
# it fails the run, writing nothing; in a batch that file fails and the others
# go on, in the Linux program's lines. The library that truncates it is
# preloaded into Wine's Linux loader, one build for each width (ld.so finds it
# under $LIB: the 32-bit programs' loader is 32-bit, the shell and Wine's
# helpers 64-bit).
not_checked=""
preload() {  # preload LIB-FOLDER [COMPILER FLAG]
  mkdir -p "$work/preload/lib/$1" &&
    g++ ${2:-} -std=c++20 -O2 -Wall -Wextra -Werror -shared -fPIC -o "$work/preload/lib/$1/change_on_read.so" \
      "$root/tests/bad_input/change_on_read.cpp" -ldl 2>"$work/preload.err"
}
shrinking() {  # shrinking FILE COMMAND...: FILE cut to 100 bytes halfway through the first read of it
  local file
  file=$(realpath "$1"); shift
  LD_PRELOAD="$work/preload/\$LIB/change_on_read.so" MARLIVA_CHANGED_FILE=$file \
    MARLIVA_CHANGE_COMMAND="truncate -s 100 $file" "$@"
}
if preload x86_64-linux-gnu && { [[ $bits == 64 ]] || preload i386-linux-gnu -m32; }; then
  mkdir changed
  for f in a b c; do cp "$real/subsrt_sample.srt" changed/$f.srt; done
  shrinking changed/b.srt run changed/b.srt changed/b.ssa
  check "input changed: status $status" [ "$status" = 1 ]
  check "input changed: message" [ "$(tr -d '\r' <"$work/stderr")" = \
    "marliva-convert: changed/b.srt: the input file changed while it was read" ]
  check "input changed: nothing written" [ "$(ls changed)" = "$(printf 'a.srt\nb.srt\nc.srt')" ]
  cp "$real/subsrt_sample.srt" changed/b.srt
  shrinking changed/b.srt "$linux" --batch -o linux_changed changed >linux.txt
  cp "$real/subsrt_sample.srt" changed/b.srt
  shrinking changed/b.srt run --batch -o out_changed changed
  check "batch, input changed: status $status" [ "$status" = 1 ]
  check "batch, input changed: a failed line" grep -qF 'changed\b.srt: failed: the input file changed while it was read' "$work/stdout"
  check "batch, input changed: the Linux program's lines" \
    diff <(tr -d '\r' <"$work/stdout" | tr '\\' / | sed s/out_changed/linux_changed/) linux.txt
  check "batch, input changed: the others written, nothing else" diff -r out_changed linux_changed
else
  not_checked="NOT CHECKED: an input changed while it is read, as the library that changes it does not build for $bits-bit Linux: $(head -n 3 "$work/preload.err")"
fi

# Device names are no regular files: as outputs, with or without an extension,
# in any case, anywhere, the run fails with nothing written; a batch reads
# them as inputs (NUL is empty) but never writes to one.
mkdir devices; cd devices || exit 1
cp "$real/subsrt_sample.srt" a.srt
pairs="the extensions choose one of .srt => .ssa, .ssa => .srt, .ass => .srt, .srt => .srt"
while IFS='|' read -r output message; do
  run a.srt "$output"
  check "$output as the output: status $status" [ "$status" = 1 ]
  check "$output as the output: message" [ "$(tr -d '\r' <"$work/stderr")" = "marliva-convert: $message" ]
done <<EOF
NUL|no conversion from a.srt to NUL; $pairs
CON|no conversion from a.srt to CON; $pairs
nul.ssa|nul.ssa is not a regular file
CON.ssa|CON.ssa is not a regular file
sub\\Nul.srt|sub\\Nul.srt is not a regular file
EOF
check "devices as outputs: nothing written" [ "$(ls)" = a.srt ]
run --batch -o out a.srt nul.srt
check "batch naming NUL: status $status" [ "$status" = 1 ]
check "batch naming NUL: lines" [ "$(tr -d '\r' <"$work/stdout")" = 'a.srt -> out\a.ssa: 6 subs
nul.srt: failed: out\nul.ssa is not a regular file
2 files: 1 converted, 1 failed' ]
check "batch naming NUL: its output alone written" [ "$(ls out)" = a.ssa ]
run --batch --to ssa NUL
check "batch of NUL: skipped as the Linux program skips /dev/null" \
  diff <(tr -d '\r' <"$work/stdout") <("$linux" --batch --to ssa /dev/null | sed 's|/dev/null|NUL|')
cd .. || exit 1

# A batch whose reader is gone before its first line stops as Ctrl+C does:
# exit status 141, no temporary file, the outputs it completed whole. Its
# standard output is a named pipe whose only reader closed it.
mkfifo gone
exec 3<>gone 4>gone 3<&-
windows --batch -j 2 -o pipeout "$real" >&4 2>/dev/null
status=$?
exec 4>&-
"$linux" --batch -o pipelinux "$real" >/dev/null 2>&1
check "reader gone: status $status" [ "$status" = 141 ]
check "reader gone: no temporary file" [ -z "$(find pipeout -name '*.tmp')" ]
for output in pipeout/*; do check "reader gone: $output whole" same "$output" "pipelinux/${output#pipeout/}"; done

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
[[ -z $not_checked ]] || echo "$not_checked"
finish && [ "$passed" -gt 0 ]
