#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang++ in build-fuzz/, replays
# the inputs of faults found earlier, then fuzzes each harness for a bounded
# time from its seed corpus. Fails on any crash, sanitizer report or failed
# check; a crashing input is left in build-fuzz/artifacts/.
# MARLIVA_FUZZ_SECONDS sets the time per harness (default 60; `make fuzz-long`
# runs longer), MARLIVA_FUZZ_HARNESSES a subset.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh core fuzz
seconds=${MARLIVA_FUZZ_SECONDS:-60}
harnesses=${MARLIVA_FUZZ_HARNESSES:-writers ssa_reader time_formatters log_trim run frame_rate_text round_trip decimal_number time_change markup}
build=build-fuzz

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)"

# The harnesses write their files into a folder of this run, in memory when
# /dev/shm is there.
base=/dev/shm
[[ -d $base && -w $base ]] || base=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$base/marliva-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export MARLIVA_FUZZ_SCRATCH=$scratch
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

mkdir -p "$build/artifacts" "$build/logs"
summary="$build/fuzz-summary.txt"
: >"$summary"
failed=0
for name in $harnesses; do
  fuzzer="$build/fuzz-$name"
  regressions=(fuzz/regressions/"$name"/*)
  if [[ -e ${regressions[0]} ]]; then
    "$fuzzer" "${regressions[@]}" >"$build/logs/$name-replay.log" 2>&1 ||
      { echo "FAILED: $name on a kept regression input" >&2; tail -30 "$build/logs/$name-replay.log" >&2; failed=1; continue; }
  fi
  # The working corpus grows across runs in build-fuzz/; the seeds stay as they are.
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  log="$build/logs/$name.log"
  echo "fuzzing $name for ${seconds}s"
  if "$fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=25 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
       "$corpus" "fuzz/corpus/$name" >"$log" 2>&1; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo 0)
    inputs=$(find "$corpus" -type f | wc -l)
    echo "$name: $runs executions in ${seconds}s, corpus of $inputs inputs, no crash" | tee -a "$summary"
  else
    echo "FAILED: $name crashed; input in $build/artifacts/" >&2
    grep -E -A 25 'ERROR|runtime error|check failed|deadly signal|timeout' "$log" | head -60 >&2
    failed=1
  fi
done
exit "$failed"
