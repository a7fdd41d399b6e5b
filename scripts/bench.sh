#!/usr/bin/env bash
# make bench: generates subtitle files of 2,000, 20,000 and 100,000 entries and
# times the marliva-convert that users get (the .deb's: dynamic, hardened,
# taken from the package that scripts/package.sh makes) beside a static build
# of it, ffmpeg's nearest conversion, and cp of the same input or, for a
# conversion whose output is larger than its input, cp of a file of the
# output's size (the floor of reading and writing that many bytes), all in one
# hyperfine run per file. It also times the page's engine (make web's
# build-web/marliva.js) under node on the same files, the start-up of both
# programs, measures peak memory with /usr/bin/time -v, times batch mode
# against ffmpeg once per file, runs the micro-benchmarks and writes
# docs/benchmarks.md, which says where each target stands on the shipped program.
#
# Environment: BENCH_SIZES (default "2000 20000 100000"), BENCH_BATCH_FILES
# (default 1000), BENCH_BATCH_RUNS (default 3), BENCH_OUTPUT (default
# docs/benchmarks.md), BENCH_QUICK=1 for a short trial run (few runs, 100 batch
# files) that writes build-bench/benchmarks-quick.md instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh core bench

# The shipped program: marliva-convert as the .deb installs it, built by the
# package's own build (build-package/) with its flags, stripped by the packing.
scripts/package.sh deb >/dev/null
debs=("$root"/build-package/packages/marliva_*.deb)
[[ -f ${debs[0]} ]] || { echo "bench: scripts/package.sh made no .deb" >&2; exit 1; }

build=$root/build-bench
# The static program and the tools of the benchmarks, from the same sources
# at the same optimisation.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMARLIVA_BENCH=ON -DMARLIVA_TESTS=OFF \
  -DMARLIVA_QT=OFF -DMARLIVA_STATIC_CONVERT=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target marliva-convert marliva-gensubs marliva-micro >/dev/null
static=$build/app/marliva-convert
gensubs=$build/bench/marliva-gensubs
# The page's engine, as make web builds it.
scripts/build-web.sh >/dev/null
web_js=$root/build-web/marliva.js
micro=$build/bench/marliva-micro

sizes=${BENCH_SIZES:-2000 20000 100000}
batch_files=${BENCH_BATCH_FILES:-1000}
batch_runs=${BENCH_BATCH_RUNS:-3}
output=${BENCH_OUTPUT:-$root/docs/benchmarks.md}
quick=${BENCH_QUICK:-0}
if [[ $quick == 1 ]]; then
  batch_files=${BENCH_BATCH_FILES:-100}
  batch_runs=${BENCH_BATCH_RUNS:-2}
  output=${BENCH_OUTPUT:-$build/benchmarks-quick.md}
fi

data=$build/bench-data
results=$data/results
rm -rf "$data"
mkdir -p "$results" "$data/out"
dpkg-deb -x "${debs[0]}" "$data/deb"
# Relative paths from here on: hyperfine splits its commands on blanks.
cd "$data"
ln -s deb/usr/bin/marliva-convert shipped
ln -s "$static" static
shipped=./shipped
static=./static

ffmpeg_base="ffmpeg -nostdin -hide_banner -loglevel error -y"
# Where allowed, the timed runs get a raised priority, so that background work
# of the machine disturbs them less; every command of a run gets the same.
prio=()
[[ $(nice -n -10 nice 2>/dev/null) == -10 ]] && prio=(nice -n -10)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# hyperfine runs (warm-up, timed) by size; slow cases get fewer runs.
runs_for() {
  if [[ $quick == 1 ]]; then echo "1 3"; return; fi
  if (($1 <= 5000)); then echo "3 40"; elif (($1 <= 50000)); then echo "2 15"; else echo "1 9"; fi
}

# The median in milliseconds of the command named $2 in hyperfine's CSV $1.
median_ms() {
  awk -F, -v name="$2" '$1 == name { printf "%.3f", $4 * 1000 }' "$1"
}

# The median of the peak resident set sizes (KiB) of three runs of a command.
peak_kib() {
  for _ in 1 2 3; do
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
  done | sort -n | sed -n 2p
}

# Instructions a command runs, the loader's included (callgrind), and what
# the loader says it did: shared libraries beside the program, relocations
# that looked a symbol up.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=results/callgrind.out "$@" >/dev/null 2>&1
  awk '/^summary:/ { print $2 }' results/callgrind.out
}
libraries() { readelf -d "$1" | grep -c '(NEEDED)' || true; }
# Minor page faults of a run, as /usr/bin/time counts them: the fork before the
# program starts included, the same for every program.
page_faults() { /usr/bin/time -f %R "$@" 2>&1 >/dev/null | tail -1; }
symbol_relocations() {
  LD_DEBUG=statistics "$@" 2>&1 >/dev/null | awk '/final number of relocations:/ { print $NF }' | tail -1
}

echo "bench: generating files"
for n in $sizes; do
  "$gensubs" srt "$n" 1 "timing-$n.srt"
  "$gensubs" frames "$n" 1 "frames-$n.srt"
  "$gensubs" ssa "$n" 1 "script-$n.ssa"
done
: >empty.srt

echo "bench: start-up"
read -r warmup runs < <(runs_for 0)
((quick == 1)) || runs=200
"${prio[@]}" hyperfine -N --style basic --warmup "$warmup" --runs "$runs" \
  --export-csv "$results/startup.csv" \
  -n "shipped --version" "$shipped --version" -n "static --version" "$static --version" \
  -n "shipped empty" "$shipped empty.srt out/empty.ssa" \
  -n "static empty" "$static empty.srt out/empty.ssa" \
  >"$results/startup.log" 2>&1 || { cat "$results/startup.log" >&2; exit 1; }
startup=$results/startup.txt
: >"$startup"
for program in shipped static; do
  for run in "--version" "empty"; do
    args=(--version)
    [[ $run == empty ]] && args=(empty.srt out/empty.ssa)
    printf '%s|%s|%s|%s|%s|%s|%s\n' "$program" "$run" \
      "$(median_ms "$results/startup.csv" "$program $run")" \
      "$(instructions "./$program" "${args[@]}")" "$(page_faults "./$program" "${args[@]}")" \
      "$(libraries "$(readlink -f "$program")")" \
      "$(symbol_relocations "./$program" "${args[@]}")" >>"$startup"
  done
done

# name | input prefix | input extension | marliva options | marliva output extension |
# ffmpeg input options | ffmpeg output extension
conversions=(
  "SRT => SSA|timing|srt||ssa||ass"
  "SSA => SRT|script|ssa||srt||srt"
  "frame lines => SRT|frames|srt|--fps 25|srt|-f microdvd -subfps 25|srt"
)

rows=$results/rows.txt
: >"$rows"
for n in $sizes; do
  read -r warmup runs < <(runs_for "$n")
  for conversion in "${conversions[@]}"; do
    IFS='|' read -r name prefix ext ours_options ours_ext ff_options ff_ext <<<"$conversion"
    key="$prefix-$n"
    input="$key.$ext"
    ours_out="out/marliva-$key.$ours_ext"
    shipped_cmd="$shipped $ours_options $input $ours_out"
    static_cmd="$static $ours_options $input out/static-$key.$ours_ext"
    ff_cmd="$ffmpeg_base $ff_options -i $input out/ffmpeg-$key.$ff_ext"
    echo "bench: $name, $n entries"
    $shipped_cmd >/dev/null  # fails early if the conversion does
    # The floor: cp of the input, or of a file of the output's size where the
    # conversion writes more than it reads.
    floor=(-n cp "cp $input out/cp-$key")
    if (($(stat -c %s "$ours_out") > $(stat -c %s "$input"))); then
      cp "$ours_out" "output-size-$key"
      floor+=(-n "cp output size" "cp output-size-$key out/cp-output-size-$key")
    fi
    # What earlier runs left to write back goes to the disk first, so that no
    # program of this run (the first one timed, above all) pays for it.
    sync
    "${prio[@]}" hyperfine -N --style basic --warmup "$warmup" --runs "$runs" \
      --export-csv "$results/$key.csv" \
      -n shipped "$shipped_cmd" -n static "$static_cmd" -n ffmpeg "$ff_cmd" "${floor[@]}" \
      >"$results/$key.log" 2>&1 || { cat "$results/$key.log" >&2; exit 1; }
    ours_peak=$(peak_kib $shipped_cmd)
    ff_peak=$(peak_kib $ff_cmd)
    # The page's engine: the conversion alone, in memory, as many runs; its
    # output must be the shipped program's.
    fps=25
    [[ $ours_options == --fps* ]] && fps=${ours_options#--fps }
    web_ms=$(node "$root/bench/web_convert.js" "$web_js" "$runs" "$input" "out/web-$key.$ours_ext" "$fps")
    cmp -s "out/web-$key.$ours_ext" "$ours_out" ||
      { echo "bench: the page's engine wrote other bytes than the shipped program for $input" >&2; exit 1; }
    csv=$results/$key.csv
    cp_ms=$(median_ms "$csv" cp)
    floor_ms=$(median_ms "$csv" "cp output size")
    printf '%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s\n' "$n" "$name" \
      "$(median_ms "$csv" shipped)" "$(median_ms "$csv" static)" "$(median_ms "$csv" ffmpeg)" \
      "$cp_ms" "${floor_ms:-$cp_ms}" "$(stat -c %s "$input")" "$(stat -c %s "$ours_out")" \
      "$ours_peak" "$ff_peak" "$runs" "$web_ms" >>"$rows"
  done
done

echo "bench: batch of $batch_files files of 2,000 entries"
mkdir -p batch
"$gensubs" srt 2000 100 --many "$batch_files" batch/f .srt
for program in shipped static; do
  printf '#!/bin/sh\nexec ./%s --overwrite --batch batch/f*.srt\n' "$program" >"batch-$program.sh"
done
printf '#!/bin/sh\nfor f in batch/f*.srt; do %s -i "$f" "${f%%.srt}.ass" || exit 1; done\n' \
  "$ffmpeg_base" >batch-ffmpeg.sh
sh batch-shipped.sh >/dev/null
sync
"${prio[@]}" hyperfine -N --style basic --runs "$batch_runs" --export-csv "$results/batch.csv" \
  -n shipped "sh batch-shipped.sh" -n static "sh batch-static.sh" -n ffmpeg "sh batch-ffmpeg.sh" \
  >"$results/batch.log" 2>&1 || { cat "$results/batch.log" >&2; exit 1; }
batch="$(median_ms "$results/batch.csv" shipped) $(median_ms "$results/batch.csv" static)"
batch+=" $(median_ms "$results/batch.csv" ffmpeg)"

echo "bench: micro-benchmarks"
min_time=0.2
[[ $quick == 1 ]] && min_time=0.02
"$micro" --benchmark_min_time=$min_time --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true --benchmark_color=false 2>/dev/null |
  grep -E '^(Benchmark|-{10}|BM_.*_median)' | sed 's/_median / /' >"$results/micro.txt"

shipped_libraries=$(readelf -d deb/usr/bin/marliva-convert |
  sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | paste -sd, - | sed 's/,/, /g')
cd "$root"
BENCH_LOAD="$load_before" BENCH_PRIORITY="${prio[*]:-normal}" \
  BENCH_PACKAGE="$(basename "${debs[0]}")" BENCH_SHIPPED_LIBRARIES="$shipped_libraries" \
  bench/report.sh "$rows" "$startup" "$batch_files" "$batch_runs" $batch \
  "$results/micro.txt" >"$output"
echo "bench: wrote $output"
sed -n '/^## Targets/,/^## /p' "$output" | grep '^- ' | sed 's/^- /bench: /' || true

# A whole library in one batch against -j 1, a shell loop and cp -r of the tree (bench/library_batch.sh),
# by the shipped program: its section follows the report.
library_files=${BENCH_LIBRARY_FILES:-10000}
[[ $quick == 1 ]] && library_files=${BENCH_LIBRARY_FILES:-1000}
echo "bench: a library of $library_files files in one batch"
BENCH_LIBRARY_FILES=$library_files BENCH_LIBRARY_RUNS=${BENCH_LIBRARY_RUNS:-$batch_runs} \
  bench/library_batch.sh "$data/deb/usr/bin/marliva-convert" "$gensubs" "$data/library" >>"$output"
grep '^- `--batch\|^- Peak memory of the batch' "$output" | sed 's/^- /bench: /'
