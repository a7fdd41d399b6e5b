# What the end-to-end scripts of marliva-convert share: a scratch folder
# ($work), checks that count, a run that keeps what the program printed, the
# cases files read line by line, and the cases of tests/data. Sourced after
# $convert is set.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
run() {  # run ARGS...: sets status, out, err
  "$convert" "$@" >"$work/stdout" 2>"$work/stderr"
  status=$?
  out=$(cat "$work/stdout")
  err=$(cat "$work/stderr")
}
same() { cmp -s "$1" "$2"; }
run_cases() {  # run_cases CASES FUNCTION: FUNCTION with each case line's fields, read whole first
  local line lines
  mapfile -t lines <"$1"
  for line in "${lines[@]}"; do
    [[ -z $line || $line == \#* ]] || "$2" $line  # the fields split on purpose
  done
}
# A writers' case of $writers/cases.txt: INPUT EXPECTED SUBS STATUS [OPTIONS...].
# An expected output of "-" is a run that fails and writes nothing.
writers_case() {
  local input=$1 expected=$2 subs=$3 want=$4 written
  shift 4
  written=$work/case.${expected##*.}
  [ "$expected" = - ] && written="$work/case.${input##*.}.out.$([ "${input##*.}" = ssa ] && echo srt || echo ssa)"
  rm -f "$written"
  run "$@" "$writers/$input" "$written"
  check "$input: status $status" [ "$status" = "$want" ]
  if [ "$expected" = - ]; then
    check "$input: nothing written" [ ! -e "$written" ]
  else
    check "$input: subs" grep -qx "subs : $subs" <(tr -d '\r' <"$work/stdout")
    check "$input: output" same "$written" "$writers/$expected"
  fi
}
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
}
