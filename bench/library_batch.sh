#!/usr/bin/env bash
# A whole library through marliva-convert --batch: generated files of 2,000
# entries (SRT timing lines, frame lines and SSA scripts in turn) in three
# folders, converted into an output folder by the batch on every core, by the
# batch on one thread, and by a shell loop running marliva-convert once per
# file, beside the floor of that work: `cp -r` of the same tree. Writes a
# Markdown section to standard output: the times (medians of hyperfine), files
# per second, the peak memory of the whole batch for the library and for a
# tenth of it, and whether each target holds. Each timed run
# writes into an empty output folder, after a sync, so that neither the
# writing back of the run before it nor the replacing of its outputs falls
# into it.
# usage: library_batch.sh MARLIVA_CONVERT MARLIVA_GENSUBS WORK_DIR
# Environment: BENCH_LIBRARY_FILES (default 10000), BENCH_LIBRARY_RUNS (default 3).
set -euo pipefail
convert=$(realpath "$1") gensubs=$(realpath "$2") work=$3
files=${BENCH_LIBRARY_FILES:-10000}
runs=${BENCH_LIBRARY_RUNS:-3}
cores=$(nproc)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# A raised priority where allowed, as for the other timed runs of make bench.
prio=()
[[ $(nice -n -10 nice 2>/dev/null) == -10 ]] && prio=(nice -n -10)

rm -rf "$work"
mkdir -p "$work"
cd "$work"
# A library of `$1` files in lib-$1/: a third of each kind, seeds apart.
make_library() {
  local n=$1 dir=lib-$1
  mkdir -p "$dir/timing" "$dir/frames" "$dir/scripts"
  "$gensubs" srt 2000 1 --many $(( (n + 2) / 3 )) "$dir/timing/t" .srt
  "$gensubs" frames 2000 20000 --many $(( (n + 1) / 3 )) "$dir/frames/f" .srt
  "$gensubs" ssa 2000 40000 --many $(( n / 3 )) "$dir/scripts/s" .ssa
}
echo "library: generating $files files" >&2
make_library "$files"
make_library $(( files / 10 ))
lib=lib-$files

# The shell loop writes what the batch writes: out/timing/t0000.ssa ...
cat >loop.sh <<EOF
#!/bin/sh
for f in $lib/*/*; do
  case \$f in *.srt) to=ssa ;; *) to=srt ;; esac
  out=out/\${f#$lib/}
  "$convert" "\$f" "\${out%.*}.\$to" >/dev/null || exit 1
done
EOF
printf 'rm -rf out && mkdir -p out/timing out/frames out/scripts && sync\n' >prepare.sh

echo "library: timing the batch on $cores cores, on one, the shell loop and cp -r" >&2
"${prio[@]}" hyperfine -N --style basic --warmup 1 --runs "$runs" --prepare "sh prepare.sh" --export-csv times.csv \
  -n batch "$convert --batch -r -o out $lib" \
  -n batch-j1 "$convert --batch -r -j 1 -o out $lib" \
  -n loop "sh loop.sh" \
  -n copy "cp -r $lib/. out" >hyperfine.log 2>&1 || { cat hyperfine.log >&2; exit 1; }
seconds() { awk -F, -v name="$1" '$1 == name { print $4 }' times.csv; }
batch=$(seconds batch) batch_j1=$(seconds batch-j1) loop=$(seconds loop) copy=$(seconds copy)

# Peak resident memory (KiB) of the whole batch, the median of three runs.
peak_kib() {
  for _ in 1 2 3; do
    rm -rf "out-$1"
    /usr/bin/time -v "$convert" --batch -r -o "out-$1" "lib-$1" 2>&1 >/dev/null |
      awk -F': ' '/Maximum resident set size/ { print $2 }'
  done | sort -n | sed -n 2p
}
peak=$(peak_kib "$files")
peak_tenth=$(peak_kib $(( files / 10 )))

awk -v files="$files" -v runs="$runs" -v cores="$cores" -v batch="$batch" -v j1="$batch_j1" \
    -v loop="$loop" -v copy="$copy" -v peak="$peak" -v tenthPeak="$peak_tenth" -v load="$load_before" \
    -v prio="${prio[*]:-normal}" '
function grouped(n,   s) {
  s = sprintf("%d", n)
  while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s)
  return s
}
function yes(held) { return held ? "yes" : "NO" }
BEGIN {
  tenth = int(files / 10)
  printf "\n## A library in one batch\n\n"
  printf "%s generated files of 2,000 entries (SRT timing lines, frame lines and SSA scripts, a third each, ", grouped(files)
  printf "in three folders) converted into an empty output folder by the shipped program: `marliva-convert --batch -r -o out lib` "
  printf "on every core (%d here), the same with `-j 1`, a shell loop running `marliva-convert IN OUT` once per file, ", cores
  printf "and the floor of that work, `cp -r` of the same tree into the empty folder. "
  printf "Medians of %d runs (hyperfine, at priority %s); load average when it started: %s.\n\n", runs, prio, load
  printf "- `--batch` on %d cores at least 1.7x faster than `-j 1`: %s (%.2fx)\n", cores, yes(j1 / batch >= 1.7), j1 / batch
  printf "- `--batch` at least 3x faster than the shell loop: %s (%.2fx)\n", yes(loop / batch >= 3), loop / batch
  printf "- `--batch` within 2x of `cp -r` of the same tree: %s (%.2fx)\n", yes(batch / copy <= 2), batch / copy
  printf "- Peak memory of the batch does not grow with the number of files: %s (%s KiB for %s files, %s KiB for %s)\n\n",
         yes(peak <= tenthPeak * 1.1 + 2048), grouped(peak), grouped(files), grouped(tenthPeak), grouped(tenth)
  printf "| run | time | files per second | peak memory |\n|---|---:|---:|---:|\n"
  printf "| `--batch` (%d threads) | %.2f s | %s | %s KiB |\n", cores, batch, grouped(files / batch), grouped(peak)
  printf "| `--batch -j 1` | %.2f s | %s | |\n", j1, grouped(files / j1)
  printf "| shell loop, one run per file | %.2f s | %s | |\n", loop, grouped(files / loop)
  printf "| `cp -r` of the library | %.2f s | %s | |\n", copy, grouped(files / copy)
}'
