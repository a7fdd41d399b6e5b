#!/usr/bin/env bash
# Generated files converted in every mode by marliva-convert, so that no speed
# work changes a byte: a small file's output against its text reference in
# expected/ (a failure shows the first lines that differ), a large one's
# SHA-256 against the one recorded in the cases file. With --update the
# references and checksums take this run's outputs: only after a deliberate
# change of what the engine writes.
# usage: check_outputs.sh MARLIVA_GENSUBS MARLIVA_CONVERT CASES [--update]
set -u
gensubs=$1 convert=$2 cases=$3 update=${4:-}
source "$(dirname "$0")/../cli/helpers.sh"
references=$(dirname "$cases")/expected

output_case() {  # NAME KIND ENTRIES SEED IN_EXT OUT_EXT SHA256|text [OPTIONS...]
  local name=$1 kind=$2 entries=$3 seed=$4 in_ext=$5 out_ext=$6 sum=$7 actual
  shift 7
  local input=$work/$kind-$entries-$seed.$in_ext output=$work/$name.$out_ext
  [[ -e $input ]] || "$gensubs" "$kind" "$entries" "$seed" "$input" || exit 1
  run "$@" "$input" "$output"
  check "$name: exit status $status" [ "$status" = 0 ]
  if [[ $sum == text ]]; then
    local reference=$references/$name.$out_ext
    [[ -n $update ]] && cp "$output" "$reference"
    same "$reference" "$output" || diff "$reference" "$output" | head -n 4
    check "$name: the output is $reference" same "$reference" "$output"
  else
    actual=$(sha256sum <"$output" | cut -d' ' -f1)
    [[ -n $update ]] && sed -i "s/^$name \(.*\) $sum/$name \1 $actual/" "$cases" && sum=$actual
    check "$name: SHA-256 $actual, recorded $sum" [ "$actual" = "$sum" ]
  fi
}
run_cases "$cases" output_case
finish
