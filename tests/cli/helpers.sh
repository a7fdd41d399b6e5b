# What the end-to-end scripts of marliva-convert share: a scratch folder
# ($work), checks that count, and a run that keeps what the program printed.
# Sourced after $convert is set.
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
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
}
