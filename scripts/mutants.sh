#!/usr/bin/env bash
# make mutants: proof that the tests catch real faults. Each fault below is
# applied alone to a copy of the sources in build-mutants/, which is built and
# tested with the native tests (a fault in a file of the Windows programs
# alone, *_win32.cpp, with the Windows stage's 64-bit tests, in the copy); a
# fault whose build or tests fail is caught, one that passes them survived.
# A fault whose name begins with "plain-" lies in code that only the plain
# build (-DMARLIVA_PLAIN=ON, every fast path off) runs for usual inputs: it is
# tested there, in build-mutants/plain/, as the sanitizers' stage tests it.
# Prints one line per fault and exits 1 when any survived. MUTANTS=name,name
# runs only those.
# --check (make mutants-check, run by make test) builds nothing: it applies
# every fault to a scratch copy of its file and lists those whose text is not
# in the file exactly once (stale after a change of the sources), in seconds.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# name ||| file ||| text as it stands ||| the fault put in its place (<NL> is a line end)
faults=$(cat <<'EOF'
rounding-half-down ||| engine/time_format.cpp ||| digits[keep] >= '5' ||| digits[keep] > '5'
frame-rounded-down ||| engine/time_format.cpp ||| seconds * frameRate + 0.5; ||| seconds * frameRate;
last-line-dropped ||| engine/line_store.cpp ||| if (from != end) onLine ||| if (false) onLine
crs-before-lf-not-one-line-end ||| engine/line_store.cpp ||| while (q < end && *q ||| if (q < end && *q
blank-line-kept ||| engine/line_store.cpp ||| length > 0 && isBlank(from[0]) ||| false
lone-cr-not-a-line-end ||| engine/line_store.cpp ||| || indexLines(false) != returns) ||| )
eof-marker-ignored ||| engine/line_store.cpp ||| kEndOfFileMark = 0x1A; ||| kEndOfFileMark = 0x1B;
mid-file-mark-kept ||| engine/line_store.cpp ||| while (length >= 3 & ||| while (false &
temporary-left ||| engine/output_file.cpp ||| std::remove(out.tempPath.c_str()) ||| (void)out.tempPath
writes-in-place ||| engine/output_file.cpp ||| temporaryName(out.path, form == 1, attempt ||| out.path; std::remove(out.path.c_str()
link-replaced ||| engine/output_file.cpp ||| if (const int error = resolveLinks(path, out.path) ||| out.path = path; if (const int error = 0
utf8-mark-not-written ||| engine/text_encoding.cpp ||| return "\xEF\xBB\xBF"; ||| return "";
utf16-written-as-utf8 ||| engine/output_file.cpp ||| isEncoded(out.encoding) && !out.sink ||| false
unmarked-utf16-not-read ||| engine/text_encoding.cpp ||| isUnmarkedUtf16(bytes, false) ||| false
arrow-not-read ||| engine/timing_lines.cpp ||| "-- >", "- >", "->", ||| "-- >", "- >",
third-digit-not-read ||| engine/time_value.h ||| (0.0 + millis % 10) ||| (0.0 + 0)
declaration-kept ||| engine/entry_scan.cpp ||| if (i == 0 && isFrameRateDeclaration ||| if (false && isFrameRateDeclaration
capital-n-not-a-break ||| engine/ssa_to_srt.cpp ||| 'n' || next == 'N') { ||| 'n') {
empty-line-ends-entry ||| engine/entry_scan.cpp ||| k = next; ||| return k;
kind-lock-ignored ||| engine/entry_scan.cpp ||| timing && scan.lock != LineKindFrame ||| timing
format-line-ignored ||| engine/ssa_events.cpp ||| return readFormatLine(format, fields) ? fields : before ||| return before
text-trimmed ||| engine/ssa_events.cpp ||| = fieldAt(fields.text) ||| = trimmed(fieldAt(fields.text))
number-slot-taken-for-text ||| engine/entry_scan.cpp ||| if (isTiming(classifyAt(scan, next + 1))) return k ||| (void)0
letters-in-times-taken-for-text ||| engine/timing_lines.cpp ||| if (arrowBetweenDigits(s)) return true ||| (void)0
sixty-minutes-read ||| engine/timing_lines.cpp ||| if ((value = value * 10 + (s[p] - '0')) >= 60) return false ||| value = value * 10 + (s[p] - '0')
unmarked-utf16-needs-every-high-byte-zero ||| engine/text_encoding.cpp ||| 2 * zeroHigh > units && 20 * zeroLow <= units ||| zeroHigh == units && zeroLow == 0
times-beyond-written ||| engine/text_output.cpp ||| w.beyond.subtitle > 0 ||| false
onto-itself-drops-lines ||| engine/conversion_run.cpp ||| strict || report.ontoItself ||| strict
numbers-from-names ||| engine/ssa_to_srt.cpp ||| putDecimal(out, ++w.subs); ||| putDecimal(out, ++w.subs == 1 ? 1 : 7);
shift-applied-twice ||| engine/time_format.cpp ||| read.start) + shift.by, ||| read.start) + 2 * shift.by,
shift-from-the-first-entry ||| engine/entry_scan.cpp ||| entry.times.start < earliestTime ||| false
report-line-lost ||| engine/run_report.h ||| if (at == N) return ||| if (at + 1 >= N) return
bar-not-reported ||| engine/srt_swap.cpp ||| containsByte(text, '|') ||| false
frame-shift-ignored ||| engine/time_format.h ||| if (shift.on || (times ||| if ((times
plain-short-srt-hours-one-digit ||| engine/time_format.cpp ||| putTime<2, 3>(p, parts, ',') ||| putTime<1, 3>(p, parts, ',')
frame-hundredths-wrong ||| engine/time_format.h ||| times.frameRate, 100, ms.start ||| times.frameRate, 1000, ms.start
no-subtitles-written ||| engine/conversion_run.cpp ||| !found.holdsSubtitle ||| false
batch-overwrites-input ||| app/batch_plan.cpp ||| return output + " is also an input of this batch" ||| (void)0
shared-output-overwritten ||| app/batch_plan.cpp ||| if (!claim.second) return ||| if (false) return
output-name-swapped ||| engine/file_kind.cpp ||| FileKindSsa ? "srt" : "ssa"; ||| FileKindSsa ? "ssa" : "srt";
escape-closes ||| ui/main_dialog.cpp ||| default: break;  // OK ||| case 2: mainDialogClose(dialog); break;<NL>    default: break;  // OK
tab-order-swapped ||| ui/dialog_layout.h ||| IDC_CONVERT, ControlKind::PushButton, "Convert", {9, 25, 49, 19}},<NL>    {IDC_OPEN, ControlKind::PushButton, "Open", {9, 6 ||| IDC_OPEN, ControlKind::PushButton, "Open", {9, 6, 49, 19}},<NL>    {IDC_CONVERT, ControlKind::PushButton, "Convert", {9, 25
log-trimmed-short ||| ui/log_trim.cpp ||| kLimit = kLogCapacity + 1; ||| kLimit = kLogCapacity;
default-rate-wrong ||| ui/main_dialog.cpp ||| kDefaultFrameRateIndex = 2; ||| kDefaultFrameRateIndex = 3;
first-sub-seconds-not-read ||| ui/main_dialog.cpp ||| settings.firstSubSeconds = dialogGetItemInt(dialog, IDC_FIRST_SUB_SECONDS) ||| (void)IDC_FIRST_SUB_SECONDS
stop-leaves-temporary ||| engine/stop_state.cpp ||| if (const char* path = slot.load()) removeFileInHandler(path) ||| (void)slot
stop-never-seen ||| engine/stop_state.cpp ||| stopSignal() { return ||| stopSignal() { return 0; return
output-beyond-the-registry ||| engine/output_file.cpp ||| out.temporarySlot < 0 ||| false
dry-run-opens-a-file ||| engine/output_file.cpp ||| if (sink) { ||| if (false) {
reported-as-finished ||| app/batch_run.cpp ||| find(reported); found != batch.results.end();<NL>         found = batch.results.find(reported + ready.size() ||| begin(); found != batch.results.end();<NL>         found = batch.results.begin(
input-change-unseen ||| engine/line_store.cpp ||| size != before.size || inputFileState(input.file, after) != 0 || !(after == before) ||| false
device-replaced ||| engine/output_file.cpp ||| kind != PathKind::regularFile ||| false
link-to-another-kind ||| app/batch_plan.cpp ||| if (kind == PathKind::regularFile && endsInExtensionOf(target, output)) return ||| return
named-twice ||| app/batch_plan.cpp ||| if (found.identified && !seen.insert(found.identity).second) continue ||| seen.insert(found.identity)
closed-pipe-ends-at-once ||| app/command_system_posix.cpp ||| { std::signal(SIGPIPE, SIG_IGN); } ||| {}
dry-run-writes ||| app/batch_run.cpp ||| dryRun = line.dryRun; ||| dryRun = false;
path-cut ||| ui/main_dialog.cpp ||| inputPath = dialogGetItemText(handle, id); break; ||| inputPath = dialogGetItemText(handle, id).substr(0, 254); break;
convert-as-after-cancel ||| ui/main_dialog.cpp ||| if (chooseOutput(handle, settings)) ||| chooseOutput(handle, settings);
windows-joins-with-slash ||| app/command_system_win32.cpp ||| pathSeparator() { return '\\'; } ||| pathSeparator() { return '/'; }
check-box-read-inverted ||| ui/platform_dialog_win32.cpp ||| BM_GETCHECK, 0, 0) != 0; ||| BM_GETCHECK, 0, 0) == 0;
EOF
)

# Puts the fault in place of its text in the file; fails unless the text is
# there exactly once.
applyFault() {  # old new file
  OLD=$1 NEW=$2 perl -0777 -i -pe 'BEGIN { ($old, $new) = map { s/<NL>/\n/gr } @ENV{qw(OLD NEW)} }
       $n += s/\Q$old\E/$new/g; END { exit($n == 1 ? 0 : 1) }' "$3"
}

# Calls `$1 name file old new` for each fault (those of MUTANTS only, if set).
eachFault() {
  local entry name rest file old new
  while IFS= read -r entry; do
    [[ -z $entry ]] && continue
    name=${entry%% |||*}; rest=${entry#* ||| }
    file=${rest%% |||*}; rest=${rest#* ||| }
    old=${rest%% |||*}; new=${rest#* ||| }
    [[ -n ${MUTANTS:-} && ",$MUTANTS," != *",$name,"* ]] && continue
    "$1" "$name" "$file" "$old" "$new" || return
  done <<<"$faults"
}

if [[ ${1:-} == --check ]]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  stale=0
  checkFault() {
    cp "$2" "$scratch/file" 2>/dev/null && applyFault "$3" "$4" "$scratch/file" && ! cmp -s "$2" "$scratch/file" ||
      { echo "mutants-check: $1: the text is not in $2 once" >&2; stale=$((stale + 1)); }
  }
  eachFault checkFault
  echo "mutants-check: $(grep -c ' ||| ' <<<"$faults") faults, $stale stale"
  exit $((stale > 0))
fi

scripts/install-deps.sh core qt package
src=$root/build-mutants/src
build=$root/build-mutants/build
plainBuild=$root/build-mutants/plain
# A build of its own each time: the copied sources keep their times, which
# may be older than objects an earlier run left.
rm -rf "$src" "$build" "$plainBuild"
mkdir -p "$src" "$build" "$plainBuild"
# The sources as they are now, committed or not.
git ls-files -z --cached --others --exclude-standard | xargs -0 tar -cf - | tar -xf - -C "$src"
cmake -S "$src" -B "$build" -DMARLIVA_STATIC_CONVERT=OFF >/dev/null
echo "mutants: building the unchanged sources"
cmake --build "$build" -j"$(nproc)" >/dev/null || { echo "mutants: the unchanged sources do not build" >&2; exit 2; }
ctest --test-dir "$build" -j"$(nproc)" >/dev/null || { echo "mutants: the unchanged sources fail their tests" >&2; exit 2; }
plainChecked=no
# The Windows stage's 64-bit tests, in the copy, which keeps its Windows trees
# from one fault to the next.
windowsStage() { MARLIVA_WINDOWS_ARCH=64 "$src/scripts/test-windows.sh" </dev/null; }
windowsChecked=no
testFault() {
  if [[ $windows == yes ]]; then
    windowsStage
  elif [[ $plain == yes ]]; then
    ctest --test-dir "$plainBuild" -j"$(nproc)" </dev/null
  else
    ctest --test-dir "$build" -j"$(nproc)" </dev/null
  fi
}

caught=0
survived=()
runFault() {  # name file old new
  local name=$1 file=$2 windows=no failing
  [[ $file == *_win32.cpp ]] && windows=yes
  plain=no
  [[ $name == plain-* ]] && plain=yes
  if [[ $plain == yes && $plainChecked == no ]]; then
    echo "mutants: building and testing the unchanged sources in the plain build"
    { cmake -S "$src" -B "$plainBuild" -DMARLIVA_PLAIN=ON -DMARLIVA_QT=OFF >/dev/null &&
      cmake --build "$plainBuild" -j"$(nproc)" && ctest --test-dir "$plainBuild" -j"$(nproc)"; } >"$build/plain.log" 2>&1 ||
      { echo "mutants: the unchanged sources fail the plain build's tests (see $build/plain.log)" >&2; exit 2; }
    plainChecked=yes
  fi
  if [[ $windows == yes && $windowsChecked == no ]]; then
    echo "mutants: building and testing the unchanged sources for Windows"
    windowsStage >"$build/windows.log" 2>&1 ||
      { echo "mutants: the unchanged sources fail the Windows stage (see $build/windows.log)" >&2; exit 2; }
    windowsChecked=yes
  fi
  cp "$src/$file" "$build/original"
  applyFault "$3" "$4" "$src/$file" || { echo "mutants: $name: the text is not in $file once; fix the list" >&2; exit 2; }
  # A fault must build: one that does not is a mistake of the list, not a catch.
  if [[ $windows == yes ]]; then
    "$src/scripts/build-windows.sh" 64 >"$build/$name.log" 2>&1
  elif [[ $plain == yes ]]; then
    cmake --build "$plainBuild" -j"$(nproc)" >"$build/$name.log" 2>&1
  else
    cmake --build "$build" -j"$(nproc)" >"$build/$name.log" 2>&1
  fi || { echo "mutants: $name: does not build (see $build/$name.log); fix the list" >&2; exit 2; }
  if testFault "$windows" >>"$build/$name.log" 2>&1; then
    echo "SURVIVED  $name ($file)"
    survived+=("$name")
  else
    failing=$(grep -E '^\s+[0-9]+ - |^FAILED: ' "$build/$name.log" | sed -E 's/^\s*[0-9]+ - //; s/^FAILED: //; s/ \(.*//' | paste -sd, -)
    echo "caught    $name ($file): $failing"
    caught=$((caught + 1))
  fi
  cp "$build/original" "$src/$file"
}
eachFault runFault
# Back to the unchanged sources, so that the next run starts from them.
cmake --build "$build" -j"$(nproc)" >/dev/null
[[ $plainChecked == yes ]] && cmake --build "$plainBuild" -j"$(nproc)" >/dev/null

echo "mutants: ${caught} caught, ${#survived[@]} survived"
[[ ${#survived[@]} == 0 ]]
