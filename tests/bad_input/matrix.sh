#!/usr/bin/env bash
# The bad-input matrix: one case per run, each through the real marliva-convert,
# checking the message shown, the exit status, and that nothing was lost: the
# input's bytes unchanged, an existing output unchanged unless the run
# succeeded, no temporary file left beside the output.
# usage: matrix.sh MARLIVA_CONVERT SOURCE_DIR CASE
# Exit 0 when the case holds, 1 when it does not, 77 when this machine cannot
# set the case up (the reason is printed).
# MARLIVA_SANITIZED=1 says the program was built with AddressSanitizer, which
# cannot run under a limit of address space; the memory case then asks the
# sanitizer's allocator to refuse the block instead.
set -u
convert=$1
source_dir=$2
case_name=$3
sample="$source_dir/samples/sintel_en.srt"

work=$(mktemp -d "${TMPDIR:-/tmp}/marliva-bad-input.XXXXXX")
chmod 755 "$work"
io=$work/io        # what the program printed
d=$work/d          # the files of the case
mkdir -p "$io" "$d"
mounted=()
immutable=()
cleanup() {
  for f in "${immutable[@]}"; do chattr -i "$f" 2>/dev/null; done
  for m in "${mounted[@]}"; do umount "$m" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM  # a test stopped from outside still unmounts and cleans up

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
skip() { echo "SKIPPED: $*"; exit 77; }

# run [--as-user] [--limit 'ulimit ...'] [--changing FILE COMMAND] ARGS...:
# runs marliva-convert; sets status, out (stdout) and err (stderr), line ends
# as printed. --changing runs COMMAND halfway through the program's first read
# of FILE (tests/bad_input/change_on_read.cpp, preloaded).
run() {
  local prefix=() limit=""
  while :; do
    case $1 in
      --as-user) prefix=(setpriv --reuid=65534 --regid=65534 --clear-groups); shift ;;
      --limit) limit=$2; shift 2 ;;
      --changing)
        # The sanitizers' runtime then no longer comes first among the libraries.
        prefix=(env "LD_PRELOAD=$MARLIVA_CHANGE_ON_READ" "MARLIVA_CHANGED_FILE=$(realpath "$2")"
                "MARLIVA_CHANGE_COMMAND=$3" "ASAN_OPTIONS=${ASAN_OPTIONS:-}:verify_asan_link_order=0")
        shift 3 ;;
      *) break ;;
    esac
  done
  (
    [[ -n $limit ]] && { trap '' XFSZ; eval "$limit" || exit 125; }
    exec "${prefix[@]}" "$convert" "$@"
  ) >"$io/stdout" 2>"$io/stderr"
  status=$?
  out=$(cat "$io/stdout")
  err=$(cat "$io/stderr")
}

# Fingerprints of files, to show later that they did not change.
declare -A kept
keep() { for f in "$@"; do kept[$f]=$(sha256sum <"$f"); done; }
expect_kept() {
  for f in "$@"; do
    [[ -f $f && $(sha256sum <"$f") == "${kept[$f]}" ]] || fail "$f changed or disappeared"
  done
}
expect_status() { [[ $status == "$1" ]] || fail "exit status $status, expected $1 (stderr: ${err:0:300})"; }
expect_message() { [[ $err == "$1" ]] || fail "message '${err:0:400}', expected '$1'"; }
expect_no_report() { [[ $out != *"done."* ]] || fail "a run that showed a message reported ' done.'"; }
expect_absent() { [[ ! -e $1 ]] || fail "$1 was created"; }
# No temporary file of a run is left in the given folders.
expect_no_temporary() {
  local left
  left=$(find "$@" -maxdepth 1 -name '*.marliva-*.tmp' 2>/dev/null)
  [[ -z $left ]] || fail "temporary files left: $left"
}
expect_subs() { [[ $out == *"subs : $1"* ]] || fail "log '${out:0:200}' does not say subs : $1"; }

# The messages as marliva-convert prints them: each line after its name; the
# failures name the file and then the system's reason.
said() { local line; for line in "$@"; do printf 'marliva-convert: %s\n' "$line"; done; }
cannot_read() { said "Cannot read the input file:" "$1" "$2"; }
cannot_write() { said "Cannot write the output file:" "$1" "$2"; }
no_memory() { said "Not enough memory to load the input file:" "$1" "$2"; }

# A file of 10,000 entries, about 600 KB, last written long ago (so that any
# write during a run shows in the time of its last change).
entries() {
  awk 'BEGIN { for (i = 1; i <= 10000; i++) printf "%d\r\n00:00:01,000 --> 00:00:02,000\r\nThe text of entry %d\r\n\r\n", i, i }' >"$1"
  touch -d '2020-01-01 00:00' "$1"
}
changed_message() { said "$1: the input file changed while it was read"; }

# An existing output whose bytes must survive a failed run.
existing_output() { printf 'an earlier output, to be kept\r\n' >"$1"; keep "$1"; }

# The program copied where an unprivileged user can run it, for the cases that
# need permissions to hold (root passes by them).
unprivileged_setup() {
  command -v setpriv >/dev/null || skip "setpriv is not installed"
  if [[ $(id -u) == 0 ]]; then
    cp "$convert" "$work/marliva-convert" && chmod 755 "$work/marliva-convert"
    convert=$work/marliva-convert
    setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null ||
      skip "cannot run as an unprivileged user here"
    as_user=--as-user
  else
    as_user=""
  fi
  chmod 777 "$d"
}

in=$d/in.srt
cp "$sample" "$in"
keep "$in"

case $case_name in

input_missing)
  existing_output "$d/out.ssa"
  run "$d/missing.srt" "$d/out.ssa"
  expect_status 1; expect_message "$(cannot_read "$d/missing.srt" "No such file or directory")"; expect_no_report
  expect_kept "$d/out.ssa"; expect_absent "$d/missing.srt"; expect_no_temporary "$d" ;;

input_directory)
  mkdir "$d/folder.srt"
  existing_output "$d/out.ssa"
  run "$d/folder.srt" "$d/out.ssa"
  expect_status 1; expect_message "$(cannot_read "$d/folder.srt" "Is a directory")"; expect_no_report
  expect_kept "$d/out.ssa"; expect_no_temporary "$d" ;;

input_changed_while_read)
  # Another program changes the input while the run reads it (an editor
  # saving in place, a sync tool): the run fails, writes nothing and leaves
  # no temporary file, onto an existing output or onto the input itself.
  entries "$d/big.srt"
  existing_output "$d/out.ssa"
  run --changing "$d/big.srt" "truncate -s 1000 $d/big.srt" "$d/big.srt" "$d/out.ssa"
  expect_status 1; expect_message "$(changed_message "$d/big.srt")"; expect_no_report
  expect_kept "$d/out.ssa"; expect_no_temporary "$d"
  # Onto itself: the file keeps what the other program left in it.
  entries "$d/self.srt"
  run --changing "$d/self.srt" "truncate -s 1000 $d/self.srt" "$d/self.srt" "$d/self.srt"
  expect_status 1; expect_message "$(changed_message "$d/self.srt")"
  [[ $(stat -c %s "$d/self.srt") == 1000 ]] || fail "the input was written over"
  expect_no_temporary "$d"
  # Grown, or rewritten in place at the same size.
  for change in "printf 'more' >>$d/big.srt" "printf X | dd of=$d/big.srt bs=1 seek=100 conv=notrunc status=none"; do
    entries "$d/big.srt"
    run --changing "$d/big.srt" "$change" "$d/big.srt" "$d/out.ssa"
    expect_status 1; expect_message "$(changed_message "$d/big.srt")"; expect_kept "$d/out.ssa"
  done
  expect_no_temporary "$d" ;;

input_over_limit)
  # 4 GiB and more is refused before a byte is read (the file is sparse).
  truncate -s 4G "$d/huge.srt" 2>/dev/null || skip "cannot make a sparse file of 4 GiB here"
  existing_output "$d/out.ssa"
  run "$d/huge.srt" "$d/out.ssa"
  expect_status 1
  expect_message "$(said "The input file is too large:" "$d/huge.srt" "A run reads files of up to 4294967295 bytes.")"
  expect_no_report; expect_kept "$d/out.ssa"; expect_no_temporary "$d" ;;

input_unreadable)
  unprivileged_setup
  chmod 000 "$in"
  existing_output "$d/out.ssa"
  run $as_user "$in" "$d/out.ssa"
  chmod 644 "$in"
  expect_status 1; expect_message "$(cannot_read "$in" "Permission denied")"; expect_no_report
  expect_kept "$in" "$d/out.ssa"; expect_no_temporary "$d" ;;

output_missing_folder)
  run "$in" "$d/no/such/folder/out.ssa"
  expect_status 1; expect_message "$(cannot_write "$d/no/such/folder/out.ssa" "No such file or directory")"; expect_no_report
  expect_absent "$d/no"; expect_kept "$in"; expect_no_temporary "$d" ;;

output_read_only)
  # A read-only file in a folder the user may write: the file stays.
  unprivileged_setup
  existing_output "$d/out.ssa"
  chmod 444 "$d/out.ssa"
  chown 65534 "$d/out.ssa" 2>/dev/null
  run $as_user "$in" "$d/out.ssa"
  expect_status 1; expect_message "$(cannot_write "$d/out.ssa" "Permission denied")"; expect_no_report
  expect_kept "$in" "$d/out.ssa"; expect_no_temporary "$d" ;;

output_read_only_folder)
  unprivileged_setup
  mkdir "$d/ro"
  existing_output "$d/ro/out.ssa"
  chmod 555 "$d/ro"
  run $as_user "$in" "$d/ro/out.ssa"
  chmod 755 "$d/ro"
  expect_status 1; expect_message "$(cannot_write "$d/ro/out.ssa" "Permission denied")"; expect_no_report
  expect_kept "$in" "$d/ro/out.ssa"; expect_no_temporary "$d/ro" ;;

output_immutable)
  # Read-only even for root: the immutable attribute.
  existing_output "$d/out.ssa"
  chattr +i "$d/out.ssa" 2>/dev/null || skip "cannot set the immutable attribute (chattr +i) here"
  immutable+=("$d/out.ssa")
  run "$in" "$d/out.ssa"
  expect_status 1; expect_message "$(cannot_write "$d/out.ssa" "Operation not permitted")"; expect_no_report
  expect_kept "$in" "$d/out.ssa"; expect_no_temporary "$d" ;;

output_directory)
  mkdir "$d/out.ssa"
  touch "$d/out.ssa/inside"
  run "$in" "$d/out.ssa"
  expect_status 1; expect_message "marliva-convert: $d/out.ssa is not a regular file"; expect_no_report
  [[ -d $d/out.ssa && -f $d/out.ssa/inside ]] || fail "the folder was changed"
  expect_kept "$in"; expect_no_temporary "$d" ;;

output_fifo)
  # A pipe that a reader waits on is not replaced by a file.
  mkfifo "$d/out.ssa"
  run "$in" "$d/out.ssa"
  expect_status 1; expect_message "marliva-convert: $d/out.ssa is not a regular file"; expect_no_report
  [[ -p $d/out.ssa ]] || fail "the pipe was replaced"
  expect_kept "$in"; expect_no_temporary "$d" ;;

output_device_link)
  # A link to a device node: the node stays, alone or in a batch.
  [[ $(id -u) == 0 ]] || skip "making a device node (mknod) needs root"
  mknod "$d/null" c 1 3 || skip "mknod cannot make a device node here"
  ln -s null "$d/out.ssa"
  ln -s null "$d/in.ssa"
  run "$in" "$d/out.ssa"
  expect_status 1; expect_message "marliva-convert: $d/out.ssa is not a regular file"; expect_no_report
  run --batch --overwrite "$in"
  expect_status 1
  [[ $out == "$in: failed: $d/in.ssa is a link to $d/null, which is not a regular .ssa file
1 file: 0 converted, 1 failed" ]] || fail "batch lines: $out"
  [[ $(stat -c %F:%t:%T "$d/null") == "character special file:1:3" ]] || fail "the device node was replaced"
  expect_kept "$in"; expect_no_temporary "$d" ;;

output_full_disk)
  # A small file system, full, holding an existing output.
  mkdir "$d/small"
  mount -t tmpfs -o size=256k tmpfs "$d/small" 2>/dev/null || skip "cannot mount a tmpfs here"
  mounted+=("$d/small")
  existing_output "$d/small/out.ssa"
  head -c 1000000 /dev/zero >"$d/small/filler" 2>/dev/null  # stops when the disk is full
  for _ in $(seq 1 20); do cat "$sample"; done >"$d/big.srt"
  keep "$d/big.srt"
  run "$d/big.srt" "$d/small/out.ssa"
  expect_status 1; expect_message "$(cannot_write "$d/small/out.ssa" "No space left on device")"; expect_no_report
  expect_kept "$d/big.srt" "$d/small/out.ssa"; expect_no_temporary "$d/small" ;;

output_file_size_limit)
  # The disk full for this program alone: writes beyond 1 KB fail.
  existing_output "$d/out.ssa"
  run --limit 'ulimit -f 1' "$in" "$d/out.ssa"
  expect_status 1; expect_message "$(cannot_write "$d/out.ssa" "File too large")"; expect_no_report
  expect_kept "$in" "$d/out.ssa"; expect_no_temporary "$d" ;;

same_path_failing_write)
  # SRT => SRT onto itself with a write that fails: the input stays whole.
  run --limit 'ulimit -f 1' "$in" "$in"
  expect_status 1; expect_message "$(cannot_write "$in" "File too large")"; expect_no_report
  expect_kept "$in"; expect_no_temporary "$d" ;;

long_lines)
  # 25,000 entries whose text lines have 255 characters, which a store of
  # fixed slots once split: each text comes through whole.
  text=$(printf 'x%.0s' $(seq 1 254))Z
  awk -v t="$text" 'BEGIN { for (i = 1; i <= 25000; i++) printf "%d\n00:00:01,000 --> 00:00:02,000\n%s\n\n", i, t }' >"$d/long.srt"
  keep "$d/long.srt"
  run "$d/long.srt" "$d/long.ssa"
  expect_status 0; expect_subs 25000
  [[ $(grep -c '^Dialogue' "$d/long.ssa") == 25000 ]] || fail "not 25,000 Dialogue lines"
  last=$(tail -n 1 "$d/long.ssa" | tr -d '\r')
  [[ $last == "Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,25000,0000,0000,0000,,$text" ]] ||
    fail "last Dialogue line: ${last:0:120}... (${#last} characters)"
  expect_kept "$d/long.srt"; expect_no_temporary "$d" ;;

store_too_large)
  # Thirty million one-character lines want a store of 180 MB, their text and
  # its index; the program may have far less.
  yes x | head -c 60000000 >"$d/many.srt"
  keep "$d/many.srt"
  existing_output "$d/out.ssa"
  if [[ ${MARLIVA_SANITIZED:-0} == 1 ]]; then
    # The sanitizer's warning about the refused block is expected here; it
    # goes to a file of the case, not to the reports of the test run (the
    # sanitizers share log_path, so each one's options name the file).
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:allocator_may_return_null=1:max_allocation_size_mb=100:log_path=$io/asan" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-}:log_path=$io/asan" LSAN_OPTIONS="${LSAN_OPTIONS:-}:log_path=$io/asan" \
      run "$d/many.srt" "$d/out.ssa"
  else
    run --limit 'ulimit -v 200000' "$d/many.srt" "$d/out.ssa"
  fi
  expect_status 1; expect_message "$(no_memory "$d/many.srt" "Cannot allocate memory")"; expect_no_report
  expect_kept "$d/many.srt" "$d/out.ssa"; expect_no_temporary "$d" ;;

path_254)
  # Input and output paths of the longest length taken, the output's file name
  # alone near the longest a folder entry may be: its temporary name must fit.
  deep=$d/$(printf 'f%.0s' $(seq 1 100))
  mkdir -p "$deep"
  long_in=$deep/$(printf 'n%.0s' $(seq 1 $(( 254 - ${#deep} - 5 )))).srt
  long_out=$d/$(printf 'n%.0s' $(seq 1 $(( 254 - ${#d} - 5 )))).ssa
  [[ ${#long_in} == 254 && ${#long_out} == 254 ]] || fail "test set-up: ${#long_in}, ${#long_out}"
  cp "$sample" "$long_in"
  run "$long_in" "$long_out"
  expect_status 0; expect_subs 28
  [[ -s $long_out ]] || fail "no output at a path of 254 characters"
  expect_no_temporary "$deep" "$d" ;;

batch_unreadable)
  # A batch over a folder with a file and a subfolder the user may not read:
  # each fails with the system's reason, the rest is converted.
  unprivileged_setup
  mkdir -p "$d/lib/locked"
  cp "$sample" "$d/lib/good.srt"; cp "$sample" "$d/lib/locked.srt"; cp "$sample" "$d/lib/locked/x.srt"
  keep "$d/lib/locked.srt"
  chmod 000 "$d/lib/locked.srt" "$d/lib/locked"
  run $as_user --batch -r -o "$d/out" "$d/lib"
  chmod 755 "$d/lib/locked"; chmod 644 "$d/lib/locked.srt"
  expect_status 1
  [[ $out == "$d/lib/good.srt -> $d/out/good.ssa: 28 subs
$d/lib/locked: failed: cannot read the folder: Permission denied
$d/lib/locked.srt: failed: Cannot read the input file: $d/lib/locked.srt: Permission denied
2 files: 1 converted, 1 failed; 1 folder not read" ]] || fail "batch lines: $out"
  expect_kept "$d/lib/locked.srt"; expect_no_temporary "$d/out" ;;

batch_input_changed)
  # A file of the batch that changes while it is read fails; the others go on.
  cp "$sample" "$d/a.srt"; entries "$d/b.srt"; cp "$sample" "$d/c.srt"
  run --changing "$d/b.srt" "truncate -s 1000 $d/b.srt" --batch -o "$d/out" "$d/a.srt" "$d/b.srt" "$d/c.srt"
  expect_status 1
  [[ $out == "$d/a.srt -> $d/out/a.ssa: 28 subs
$d/b.srt: failed: the input file changed while it was read
$d/c.srt -> $d/out/c.ssa: 28 subs
3 files: 2 converted, 1 failed" ]] || fail "batch lines: $out"
  expect_absent "$d/out/b.ssa"; expect_no_temporary "$d/out" ;;

batch_dry_run_unwritable)
  # A dry run predicts the outputs that a run could not write, in the words
  # of the run: a read-only folder beside the input, an output folder that
  # cannot be made in it.
  unprivileged_setup
  mkdir "$d/ro"; cp "$sample" "$d/ro/a.srt"; chmod 555 "$d/ro"
  for dry in -n ""; do
    failed=failed; [[ -n $dry ]] && failed="would fail"
    run $as_user --batch $dry "$d/ro/a.srt"
    [[ $out == "$d/ro/a.srt: $failed: Cannot write the output file: $d/ro/a.ssa: Permission denied"* ]] ||
      fail "batch $dry lines: $out"
    run $as_user --batch $dry -o "$d/ro/out" "$in"
    [[ $out == "$in: $failed: cannot create the folder $d/ro/out: Permission denied"* ]] ||
      fail "batch $dry -o lines: $out"
  done
  chmod 755 "$d/ro"
  expect_absent "$d/ro/a.ssa"; expect_absent "$d/ro/out"; expect_no_temporary "$d/ro" ;;

*)
  echo "unknown case $case_name"; exit 1 ;;
esac

if (( failures > 0 )); then
  echo "$case_name: $failures check(s) failed"
  exit 1
fi
echo "$case_name: passed"
