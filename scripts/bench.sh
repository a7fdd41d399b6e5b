#!/usr/bin/env bash
# make bench: generates subtitle files of 2,000, 20,000 and 100,000 entries,
# times marliva-convert side by side with ffmpeg's nearest conversion and with
# cp of the same input (the floor of reading and writing that many bytes) in
# one hyperfine run per file, measures peak memory with /usr/bin/time -v, times
# batch mode against ffmpeg once per file, runs the micro-benchmarks and writes
# docs/benchmarks.md, which says where each target stands.
#
# Environment: BENCH_SIZES (default "2000 20000 100000"), BENCH_BATCH_FILES
# (default 1000), BENCH_BATCH_RUNS (default 3), BENCH_OUTPUT (default
# docs/benchmarks.md), BENCH_QUICK=1 for a short trial run (few runs, 100 batch
# files) that writes build-bench/benchmarks-quick.md instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh core bench

build=$root/build-bench
# marliva-convert linked statically whatever the option's default: the tables
# measure the program as it starts fastest.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMARLIVA_BENCH=ON -DMARLIVA_TESTS=OFF \
  -DMARLIVA_QT=OFF -DMARLIVA_STATIC_CONVERT=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target marliva-convert marliva-gensubs marliva-micro >/dev/null
convert=$build/app/marliva-convert
gensubs=$build/bench/marliva-gensubs
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
# Relative paths from here on: hyperfine splits its commands on blanks.
cd "$data"
ln -s "$convert" marliva-convert
convert=./marliva-convert

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

echo "bench: generating files"
for n in $sizes; do
  "$gensubs" srt "$n" 1 "timing-$n.srt"
  "$gensubs" frames "$n" 1 "frames-$n.srt"
  "$gensubs" ssa "$n" 1 "script-$n.ssa"
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
    ours_cmd="$convert $ours_options $input $ours_out"
    ff_cmd="$ffmpeg_base $ff_options -i $input out/ffmpeg-$key.$ff_ext"
    echo "bench: $name, $n entries"
    $ours_cmd >/dev/null  # fails early if the conversion does
    "${prio[@]}" hyperfine -N --style basic --warmup "$warmup" --runs "$runs" \
      --export-csv "$results/$key.csv" \
      -n marliva "$ours_cmd" -n ffmpeg "$ff_cmd" -n cp "cp $input out/cp-$key" \
      >"$results/$key.log" 2>&1 || { cat "$results/$key.log" >&2; exit 1; }
    ours_peak=$(peak_kib $ours_cmd)
    ff_peak=$(peak_kib $ff_cmd)
    csv=$results/$key.csv
    printf '%s|%s|%s|%s|%s|%s|%s|%s|%s|%s\n' "$n" "$name" \
      "$(median_ms "$csv" marliva)" "$(median_ms "$csv" ffmpeg)" "$(median_ms "$csv" cp)" \
      "$(stat -c %s "$input")" "$(stat -c %s "$ours_out")" "$ours_peak" "$ff_peak" "$runs" >>"$rows"
  done
done

echo "bench: batch of $batch_files files of 2,000 entries"
mkdir -p batch
"$gensubs" srt 2000 100 --many "$batch_files" batch/f .srt
printf '#!/bin/sh\nexec %s --overwrite --batch batch/f*.srt\n' "$convert" >batch-marliva.sh
printf '#!/bin/sh\nfor f in batch/f*.srt; do %s -i "$f" "${f%%.srt}.ass" || exit 1; done\n' \
  "$ffmpeg_base" >batch-ffmpeg.sh
sh batch-marliva.sh >/dev/null
"${prio[@]}" hyperfine -N --style basic --runs "$batch_runs" --export-csv "$results/batch.csv" \
  -n marliva "sh batch-marliva.sh" -n ffmpeg "sh batch-ffmpeg.sh" >"$results/batch.log" 2>&1 ||
  { cat "$results/batch.log" >&2; exit 1; }
batch_ours=$(median_ms "$results/batch.csv" marliva)
batch_ff=$(median_ms "$results/batch.csv" ffmpeg)

echo "bench: micro-benchmarks"
min_time=0.2
[[ $quick == 1 ]] && min_time=0.02
"$micro" --benchmark_min_time=$min_time --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true --benchmark_color=false 2>/dev/null |
  grep -E '^(Benchmark|-{10}|BM_.*_median)' | sed 's/_median / /' >"$results/micro.txt"

cd "$root"
BENCH_LOAD="$load_before" BENCH_PRIORITY="${prio[*]:-normal}" \
  bench/report.sh "$rows" "$batch_files" "$batch_runs" "$batch_ours" "$batch_ff" \
  "$results/micro.txt" >"$output"
echo "bench: wrote $output"
sed -n '/^## Targets/,/^## /p' "$output" | grep '^- ' | sed 's/^- /bench: /' || true

# A whole library in one batch against -j 1 and a shell loop (bench/library_batch.sh):
# its section follows the report.
library_files=${BENCH_LIBRARY_FILES:-10000}
[[ $quick == 1 ]] && library_files=${BENCH_LIBRARY_FILES:-1000}
echo "bench: a library of $library_files files in one batch"
BENCH_LIBRARY_FILES=$library_files BENCH_LIBRARY_RUNS=${BENCH_LIBRARY_RUNS:-$batch_runs} \
  bench/library_batch.sh "$build/app/marliva-convert" "$gensubs" "$data/library" >>"$output"
grep '^- `--batch\|^- Peak memory of the batch' "$output" | sed 's/^- /bench: /'
