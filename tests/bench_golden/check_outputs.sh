#!/usr/bin/env bash
# Generated files converted in every mode by marliva-convert, each output's
# SHA-256 against the one recorded in the cases file, so that no speed work
# changes a byte. With --update the cases file takes this run's checksums:
# only after a deliberate change of what the engine writes.
# usage: check_outputs.sh MARLIVA_GENSUBS MARLIVA_CONVERT CASES [--update]
set -u
gensubs=$1 convert=$2 cases=$3 update=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0 recorded=""
while IFS= read -r line; do
  read -r name kind entries seed in_ext out_ext sum options <<<"$line"
  if [[ -z $name || $name == \#* ]]; then recorded+="$line"$'\n'; continue; fi
  input=$work/$kind-$entries-$seed.$in_ext
  [[ -e $input ]] || "$gensubs" "$kind" "$entries" "$seed" "$input" || exit 1
  "$convert" $options "$input" "$work/$name.$out_ext" >/dev/null || { echo "FAILED: $name: exit status $?"; failed=1; }
  actual=$(sha256sum <"$work/$name.$out_ext" | cut -d' ' -f1)
  [[ $actual == "$sum" || -n $update ]] || { echo "FAILED: $name: SHA-256 $actual, recorded $sum"; failed=1; }
  recorded+="$name $kind $entries $seed $in_ext $out_ext $actual${options:+ $options}"$'\n'
done <"$cases"
[[ -n $update ]] && { printf '%s' "$recorded" >"$cases"; echo "recorded the checksums in $cases"; }
[[ $failed == 0 ]]
