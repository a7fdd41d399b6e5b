#!/usr/bin/env bash
# marliva-convert end to end: real files through the real program, checking
# exit status, what it prints, and the files it leaves.
# usage: end_to_end.sh MARLIVA_CONVERT TESTS_DIR MARLIVA_GENSUBS
set -u
convert=$1
tests=$2
gensubs=$3
golden="$tests/data/golden"
source "$(dirname "$0")/helpers.sh"

printf '1\n00:00:01,000 --> 00:00:02,500\nHello\nWorld\n\n2\n00:00:03,000 --> 00:00:04,000\nBye\n\n' >"$work/a.srt"

# The log goes to stdout with LF line ends; exit 0.
run "$work/a.srt" "$work/a.ssa"
check "log of a run" [ "$status" = 0 ]
check "log text" [ "$(echo "$out" | head -3)" = "SRT => SSA ... done.

time : $(echo "$out" | sed -n 3p | cut -c8-)" ]
check "subs line" [ "$(echo "$out" | sed -n 4p)" = "subs : 3" ]
check "no CR in the log" [ "$(tr -cd '\r' <"$work/stdout" | wc -c)" = 0 ]
check "last dialogue line" [ "$(tail -n 1 "$work/a.ssa")" = $'Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,2,0000,0000,0000,,Bye\r' ]

# The options' texts, as parsed (the writers' cases below use each option).
run --first-sub 0:0:2.05 "$work/a.srt" "$work/t.srt"
check "--first-sub fraction .05" [ "$(head -n 1 "$work/t.srt")" = $'{000051}{000089}Hello|World\r' ]
run --first-sub 999:0:0 "$work/a.srt" "$work/h.ssa"
check "--first-sub up to 999 hours" grep -q "^Dialogue: Marked=0,999:00:00.00," "$work/h.ssa"
# Options anywhere before "--", long ones also with "=", short ones bundled.
run "$work/a.srt" --fps=24 "$work/o.srt" --no-join
check "options after the files" [ "$status" = 0 ] && check "--fps=24 taken" [ "$(head -c 16 "$work/o.srt")" = "{000024}{000060}" ]
run -- "$work/a.srt" --no-join
check "after --, a file" [ "$status" = 1 ] && check "the file named --no-join" grep -q 'to --no-join;' "$work/stderr"

# Usage errors: exit 2, nothing written.
for args in "--fps abc" "--fps 1e5" "--fps nan" "--fps" "--first-sub 1:2" "--first-sub 1:2:3.4567" \
            "--first-sub -1:0:0" "--first-sub 1000:0:0" "--first-sub 999:60:0" "--first-sub 4294967295:0:0" \
            "--bogus" "--no-join=x" "--markup bogus" "--markup" "-x" "--overwrite" "-r" "--json" "-j2" "--to ssa" "" "one" \
            "--retime 25" "--retime 0:25" "--retime 25:-1" "--retime 25:24 --fps 25" "--retime 25/0:24" \
            "--sync 1:00=1:00 --sync 1:00=2:00" "--sync 0:10=0:20 --sync 0:20=0:20" "--sync 0:10=0:20 --sync 0:20=0:15" \
            "--sync 1=2 --sync 3=4 --sync 5=6" "--sync #0=1" "--sync 1" "--shift 1 --first-sub 0:0:1" \
            "--sync 1=2 --shift 1" "--shift 1:2:3:4" "--shift 1000:0:0" "--from 0:0:1" "--shift 1 --from 5 --until 5"; do
  case $args in
    "") run "$work/a.srt" ;;
    one) run "$work/a.srt" "$work/usage.ssa" "$work/c.ssa" ;;
    *) run $args "$work/a.srt" "$work/usage.ssa" ;;  # word splitting wanted
  esac
  check "usage error: $args" [ "$status" = 2 ] && check "no output: $args" [ ! -e "$work/usage.ssa" ]
done
# Time changes: the log's line per operation, an entry moved before 0 and an
# overlap named on stderr, frame lines read at the old rate and written as
# timing lines, a sync point at an entry the file lacks.
printf '1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:00,500 --> 00:00:01,200\nB\n\n3\n00:00:01,500 --> 00:00:03,000\nC\n' >"$work/moved.srt"
run --shift -1.5 "$work/moved.srt" "$work/moved_out.srt"
check "shift: log line" grep -qx "shift: -1.500 s" "$work/stdout"
check "shift: before 0 named" [ "$err" = "marliva-convert: $work/moved.srt:6: not converted: before 0:00:00 after the time change" ]
run --shift +2 --until 0:0:1.5 "$work/moved.srt" "$work/moved_out.srt"
check "shift until: log line" grep -qx "shift: +2.000 s until 0:00:01.500" "$work/stdout"
check "shift until: overlaps named" [ "$err" = "marliva-convert: $work/moved.srt:10: overlaps the subtitle before it after the time change" ]
check "shift until: overlaps in the log" grep -q "^overlaps: 1 subtitles" "$work/stdout"
run --retime 23.976:25 --sync 0:0:1=0:0:2 --sync 0:0:3=0:0:5 "$work/moved.srt" "$work/moved.ssa"
check "retime and sync: log lines" [ "$(sed -n 3,4p "$work/stdout")" = "retime: 23.976 => 25 (x 0.959041)
sync: 2 points, x 1.500000, +1.000 s" ]
rm -f "$work/moved.ssa"
run --sync '#4=0:0:1' "$work/moved.srt" "$work/moved.ssa"
check "sync at a missing entry" [ "$status" = 1 ] && check "missing entry writes nothing" [ ! -e "$work/moved.ssa" ]
check "missing entry message" [ "$err" = "marliva-convert: The sync points do not fit the input file:
marliva-convert: $work/moved.srt
marliva-convert: It has no subtitle 4." ]
run --sync '#1=0:0:5' --sync '#2=0:0:6' "$work/moved.srt" "$work/moved.ssa"
check "entries' points that do not increase" [ "$status:$(echo "$err" | grep -c 'the later one going to the later time')" = "1:1" ]
printf '{000025}{000050}x\n' >"$work/frames.srt"
(cd "$work" && "$convert" --retime 25:23.976 --batch --to timing frames.srt >/dev/null)
check "frame lines read at the old rate" [ "$(sed -n 2p "$work/frames.timing.srt")" = $'00:00:01,043 --> 00:00:02,085\r' ]
out=$(cd "$work" && "$convert" --retime 25:23.976 --batch --dry-run --overwrite --to timing frames.srt 2>&1)
check "dry run: the times after the change" [ "$(echo "$out" | head -1)" = \
  "frames.srt -> frames.timing.srt: would be converted (1 subs; times from 00:00:01,043 to 00:00:02,085)" ]

run --help;    check "--help" [ "$status" = 0 ] && check "--help text" grep -q '^usage: marliva-convert' "$work/stdout"
run --version; check "--version" grep -qx "marliva-convert [0-9.]*" "$work/stdout"
long="$work/$(printf 'x%.0s' $(seq 1 200))/$(printf 'y%.0s' $(seq 1 200))"
mkdir -p "$long"
run "$work/a.srt" "$long/a.ssa"
check "a path of any length" same "$long/a.ssa" "$work/a.ssa"

# Messages: exit 1, each line on stderr after the program's name. The
# messages of files that cannot be read or written are the bad-input matrix's.
run "$work/a.srt" "$work/a.txt"
check "refused pair" [ "$status" = 1 ]
check "refused pair text" [ "$err" = "marliva-convert: no conversion from $work/a.srt to $work/a.txt; the extensions choose one of .srt => .ssa, .ssa => .srt, .ass => .srt, .srt => .srt" ]
check "refused pair writes nothing" [ ! -e "$work/a.txt" ]
run /dev/stdin "$work/stdin.ssa" <"$work/a.srt"
check "no extension: the pairs" [ "$status:$err" = "1:marliva-convert: no conversion from /dev/stdin to $work/stdin.ssa; the extensions choose one of .srt => .ssa, .ssa => .srt, .ass => .srt, .srt => .srt" ]
run --fps -1 "$work/a.srt" "$work/neg.ssa"
check "timing lines ignore the frame rate" [ "$status" = 0 ]

# An input that never ends is refused, not read until memory runs out.
ln -s /dev/zero "$work/endless.srt"
run "$work/endless.srt" "$work/endless.ssa"
check "endless input" [ "$status" = 1 ] && check "endless input message" [ "$err" = "marliva-convert: Not enough memory to load the input file:
marliva-convert: $work/endless.srt
marliva-convert: File too large" ]
check "endless input writes nothing" [ ! -e "$work/endless.ssa" ]

# Same path: the input is read whole before it is replaced.
cp "$work/a.srt" "$work/same.srt"
run "$work/same.srt" "$work/same.srt"
check "same path" [ "$(cat "$work/same.srt")" = $'{000025}{000063}Hello|World\r\n{000075}{000100}Bye\r' ]

# Onto itself, a run that would drop lines fails as --strict does, whatever
# name leads to the input: its only copy of those lines stays.
printf '1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03;000 --> 00:00:04;000\nB\n' >"$work/self.srt"
cp "$work/self.srt" "$work/self.before"
ln -s self.srt "$work/self_link.srt"
for onto in "$work/self.srt" "$work/self_link.srt" "$work/../$(basename "$work")/self.srt"; do
  run "$work/self.srt" "$onto"
  check "onto itself, lines not converted: status ($onto)" [ "$status" = 1 ]
  check "onto itself: the input kept ($onto)" same "$work/self.srt" "$work/self.before"
  check "onto itself: no temporary file ($onto)" [ -z "$(compgen -G "$work/self.srt.marliva-*.tmp")" ]
done
check "onto itself: the message" [ "$err" = "marliva-convert: $work/self.srt:6: not converted: a timing line that cannot be read
marliva-convert: $work/self.srt:7: not converted: text under a timing line that cannot be read
marliva-convert: Lines not converted in the input file:
marliva-convert: $work/self.srt
marliva-convert: 2 lines (first: line 6); nothing was written, as the output is the input file itself." ]

# Times beyond what the output holds fail the run, naming the subtitle.
printf '1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n600:00:00,000 --> 600:00:01,000\nB\n' >"$work/late.srt"
run --fps 1000 "$work/late.srt" "$work/late_frames.srt"
check "times too large: status" [ "$status" = 1 ] && check "times too large: nothing written" [ ! -e "$work/late_frames.srt" ]
check "times too large: the message" [ "$err" = "marliva-convert: The output cannot hold the times of the input file:
marliva-convert: $work/late.srt
marliva-convert: subtitle 2 (line 6) would pass frame 999999999; nothing was written." ]

# An output that is a symbolic link: the file it leads to receives the output.
mkdir "$work/link"; echo old >"$work/link/target.ssa"; ln -s target.ssa "$work/link/out.ssa"
run "$work/a.srt" "$work/link/out.ssa"
check "link stays a link" [ -L "$work/link/out.ssa" ] && check "target receives" same "$work/link/target.ssa" "$work/a.ssa"
ln -s missing.ssa "$work/link/dangling.ssa"
run "$work/a.srt" "$work/link/dangling.ssa"
check "dangling link gets its target" same "$work/link/missing.ssa" "$work/a.ssa"

# No silent nothing: text without subtitles is a failure that writes nothing,
# onto an existing output or onto itself.
printf 'just some text\n' >"$work/text.srt"
echo old >"$work/text.ssa"
run "$work/text.srt" "$work/text.ssa"
check "no subtitles" [ "$status" = 1 ] && check "no subtitles message" [ "$err" = "marliva-convert: no subtitles found in $work/text.srt" ]
check "no subtitles keeps the output" [ "$(cat "$work/text.ssa")" = old ]
run "$work/text.srt" "$work/text.srt"
check "no subtitles onto itself" [ "$status" = 1 ] && check "keeps the input" [ "$(cat "$work/text.srt")" = "just some text" ]
printf '\n \n' >"$work/blank.srt"
run "$work/blank.srt" "$work/blank.ssa"
check "blank input is no failure" [ "$status" = 0 ]
# A frame rate declared by the file is named when the run uses another.
printf '{1}{1}23.976\n{24}{48}x\n' >"$work/declared.srt"
run "$work/declared.srt" "$work/declared.ssa"
check "declared rate note" [ "$err" = "marliva-convert: $work/declared.srt declares 23.976 frames per second; converted at 25" ]
run --fps 23.976 "$work/declared.srt" "$work/declared.ssa"
check "declared rate used" [ "$status" = 0 ] && check "no note" [ -z "$err" ]
check "declaration dropped" [ "$(grep -c '^Dialogue' "$work/declared.ssa")" = 1 ]

# Golden files: the bundled sample in every direction.
golden_case() {  # INPUT EXPECTED [OPTIONS...]
  local input=$1 expected=$2
  shift 2
  run "$@" "$golden/$input" "$work/$expected"
  check "golden $expected" same "$work/$expected" "$golden/$expected"
}
run_cases "$golden/cases.txt" golden_case

# The writers' cases: each input with its options, against the output read
# when it was made; real files that other tools wrote, against outputs read
# line by line when they were made, each under its own extension (a .sub file
# of frame lines as .srt).
writers="$tests/data/writers" real="$tests/data/real"
run_cases "$writers/cases.txt" writers_case
real_case() {  # INPUT EXPECTED [OPTIONS...]
  local input=$1 name=$2 in_ext=${1##*.}
  shift 2
  [ "$in_ext" = sub ] && in_ext=srt
  cp "$real/$input" "$work/real_in.$in_ext"
  run "$@" "$work/real_in.$in_ext" "$work/$name"
  check "real $input: status $status" [ "$status" = 0 ]
  check "real $input => $name" same "$work/$name" "$real/expected/$name"
}
run_cases "$real/cases.txt" real_case

# Through SSA and back, a real file whose text lines end in blanks comes back
# as it was but for its line ends.
run "$real/morevna_synfig_12_trailing_blanks.srt" "$work/blanks.ssa" && run "$work/blanks.ssa" "$work/blanks.srt"
check "real file through SSA and back" [ "$(tr -d '\r' <"$work/blanks.srt")" = "$(cat "$real/morevna_synfig_12_trailing_blanks.srt")" ]

# UTF-16 and UTF-32 in both byte orders: the same conversion as the UTF-8
# file, back in the input's encoding after its byte-order mark.
run "$real/synfig_07_bones_zh.srt" "$work/zh8.ssa"
run --fps 23.976 "$real/synfig_07_bones_zh.srt" "$work/zh8.srt"
check "zh subs" [ "$(grep -c '^Dialogue' "$work/zh8.ssa")" = 125 ]
for form in UTF-16LE:fffe UTF-16BE:feff UTF-32LE:fffe0000 UTF-32BE:0000feff; do
  encoding=${form%:*} mark=${form#*:}
  { printf "$(sed 's/../\\x&/g' <<<"$mark")"; iconv -f UTF-8 -t "$encoding" "$real/synfig_07_bones_zh.srt"; } >"$work/zh16.srt"
  run "$work/zh16.srt" "$work/zh16.ssa"
  check "$encoding mark" [ "$(head -c $((${#mark} / 2)) "$work/zh16.ssa" | od -An -tx1 | tr -d ' ')" = "$mark" ]
  check "$encoding to SSA" [ "$(tail -c +$((${#mark} / 2 + 1)) "$work/zh16.ssa" | iconv -f "$encoding" -t UTF-8)" = "$(cat "$work/zh8.ssa")" ]
  run --fps 23.976 "$work/zh16.srt" "$work/zh16f.srt"
  check "$encoding frames" [ "$(tail -c +$((${#mark} / 2 + 1)) "$work/zh16f.srt" | iconv -f "$encoding" -t UTF-8)" = "$(cat "$work/zh8.srt")" ]
done

# Input lines not converted: named on stderr, the run still completes; with
# --strict the run fails and writes nothing.
printf '1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03;000 --> 00:00:04;000\nB\n\n' >"$work/bad.srt"
run "$work/bad.srt" "$work/bad.ssa"
check "lines not converted: status 0" [ "$status" = 0 ]
check "lines not converted: the log counts them" grep -qx "skipped: 2 lines (first: line 6)" "$work/stdout"
check "line not converted named" [ "$err" = "marliva-convert: $work/bad.srt:6: not converted: a timing line that cannot be read
marliva-convert: $work/bad.srt:7: not converted: text under a timing line that cannot be read" ]
echo old >"$work/bad.ssa"
run --strict "$work/bad.srt" "$work/bad.ssa"
check "--strict fails" [ "$status" = 1 ] && check "--strict writes nothing" [ "$(cat "$work/bad.ssa")" = old ]
check "--strict leaves no temporary file" [ -z "$(compgen -G "$work/bad.ssa.marliva-*.tmp")" ]
check "--strict names the line" grep -q "$work/bad.srt:6: not converted" "$work/stderr"
run --batch --overwrite "$work/bad.srt"
check "batch: lines not converted counted" grep -q "^$work/bad.srt -> $work/bad.ssa: [0-9]* subs, [0-9]* lines not converted$" "$work/stdout"
check "batch: line not converted named" grep -qx "marliva-convert: $work/bad.srt:6: not converted: a timing line that cannot be read" "$work/stderr"
run --strict "$work/a.srt" "$work/strict.ssa"
check "--strict with every line converted" same "$work/strict.ssa" "$work/a.ssa"

# Markup: what an output cannot hold is dropped and named on stderr, the
# first ten pieces and then a count, and counted in the log; it never fails
# --strict, nor a run onto itself. Text that the output would read as markup
# is written as it stands and counts as not converted.
marked="$tests/data/writers/markup-to-srt.ssa"
run --strict --markup translate "$marked" "$work/marked.srt"
check "markup dropped: status" [ "$status" = 0 ]
check "markup dropped: log line" grep -qx "markup dropped: 11 (first: line 14)" "$work/stdout"
check "markup dropped: ten named" [ "$(grep -c "^marliva-convert: $marked:[0-9]*: markup dropped: {" "$work/stderr")" = 10 ]
check "markup dropped: the code" grep -qxF "marliva-convert: $marked:18: markup dropped: {\\pos(10,20)}" "$work/stderr"
check "markup dropped: the rest counted" grep -qx "marliva-convert: $marked: 1 more pieces of markup dropped" "$work/stderr"
cp "$tests/data/writers/markup-frames-to-timing.srt" "$work/onto.srt"
run --markup translate "$work/onto.srt" "$work/onto.srt"
check "markup dropped onto itself: status" [ "$status" = 0 ] &&
  check "markup dropped onto itself: converted" same "$work/onto.srt" "$tests/data/writers/markup-frames-to-timing.expected.srt"
printf '1\n00:00:01,000 --> 00:00:02,000\n<i>a</i> {laughs}\n\n' >"$work/braces.srt"
echo old >"$work/braces.ssa"
run --strict --markup translate "$work/braces.srt" "$work/braces.ssa"
check "braces in translated text: --strict fails" [ "$status" = 1 ] && check "braces: nothing written" [ "$(cat "$work/braces.ssa")" = old ]
check "braces: named" grep -qx "marliva-convert: $work/braces.srt:3: not converted: text that the output reads as markup or a line break" "$work/stderr"
run --markup translate "$work/braces.srt" "$work/braces.ssa"
check "braces: written as they stand" [ "$(tail -n 1 "$work/braces.ssa")" = $'Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,{\\i1}a{\\i0} {laughs}\r' ]

# A run ended by a signal removes its temporary file and exits with 128 + the
# signal's number, the existing output unchanged.
"$gensubs" srt 1000000 1 "$work/big.srt"
echo old >"$work/big.ssa"
"$convert" "$work/big.srt" "$work/big.ssa" >/dev/null &
pid=$!
until compgen -G "$work/big.ssa.marliva-*.tmp" >/dev/null || ! kill -0 $pid 2>/dev/null; do sleep 0.005; done
kill -TERM $pid
wait $pid
check "SIGTERM: exit status 143" [ $? = 143 ]
check "SIGTERM: no temporary file" [ -z "$(compgen -G "$work/big.ssa.marliva-*.tmp")" ]
check "SIGTERM: the output kept" [ "$(cat "$work/big.ssa")" = old ]

finish
