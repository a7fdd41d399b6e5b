#!/usr/bin/env bash
# marliva-convert --batch end to end, on a small tree of real files: files and
# folders, subfolders and a link that loops, an output folder, --to, the
# refusals that keep every file, a dry run, --json read by a JSON parser, the
# same outputs and totals on one thread and on four, the progress line on a
# terminal, and a batch stopped by Ctrl+C.
# usage: batch.sh MARLIVA_CONVERT TESTS_DIR MARLIVA_GENSUBS
set -u
convert=$(realpath "$1") tests=$(realpath "$2") gensubs=$(realpath "$3")
source "$(dirname "$0")/helpers.sh"
sample=$tests/../samples/sintel_en.srt
real=$tests/data/real
cd "$work" || exit 1
last_line() { tail -n 1 "$work/stdout"; }
# A listing of every file below a folder with its checksum, to show that
# nothing changed.
snapshot() { find "$@" -print0 | sort -z | xargs -0 -I{} sh -c 'printf "%s " "{}"; [ -f "{}" ] && sha256sum <"{}" || echo' ; }

# Files named one by one: the proposed names, one line per file, a total;
# failures don't stop it; an existing output is kept unless --overwrite.
nothing="no conversion for this name; the extensions choose one of .srt => .ssa, .ssa => .srt, .ass => .srt, .srt => .srt"
mkdir one
cp "$sample" one/a.srt; "$convert" "$sample" one/b.ssa >/dev/null; echo x >one/c.txt
run --batch one/a.srt one/b.ssa one/c.txt /dev/stdin one/missing missing/ </dev/null
check "files: exit 1 when one fails" [ "$status" = 1 ]
check "files: lines" [ "$out" = "one/a.srt -> one/a.ssa: 28 subs
one/b.ssa -> one/b.srt: 26 subs
one/c.txt: failed: $nothing
/dev/stdin: failed: $nothing
one/missing: failed: Cannot read the input file: one/missing: No such file or directory
missing/: failed: Cannot read the input file: missing/: No such file or directory
6 files: 2 converted, 4 failed" ]
echo old >one/a.ssa
run --batch one/a.srt
check "exists: skipped" [ "$out" = "one/a.srt: skipped: one/a.ssa exists (--overwrite replaces it)
1 file: 0 converted, 0 failed, 1 skipped" ] && check "exists: kept" [ "$(cat one/a.ssa)" = old ]
run --batch one/a.srt --overwrite  # an option after the files
check "--overwrite after the files" [ "$status" = 0 ] && check "replaced" same one/a.ssa one/b.ssa
run --batch -- --to.srt
check "after --, a file" [ "$out" = "--to.srt: failed: Cannot read the input file: --to.srt: No such file or directory
1 file: 0 converted, 1 failed" ]

# Outputs never land on an input, and two inputs never share an output, not
# even with --overwrite: a.srt and a.SRT both to a.ssa; an output that is an
# input, by its name or through a link.
mkdir pair
cp "$sample" pair/a.srt; cp "$real/subsrt_sample.srt" pair/a.SRT; "$convert" pair/a.srt expected.ssa >/dev/null
cp "$sample" pair/b.srt; "$convert" "$sample" pair/b.ssa >/dev/null; cp pair/b.ssa b_before.ssa
cp "$sample" pair/c.srt; ln -s b.srt pair/c.ssa
run --overwrite --batch pair/a.srt pair/a.SRT pair/b.srt pair/b.ssa pair/c.srt
check "one output: lines" [ "$out" = "pair/a.srt -> pair/a.ssa: 28 subs
pair/a.SRT: failed: pair/a.ssa is also the output of pair/a.srt
pair/b.srt: failed: pair/b.ssa is also an input of this batch
pair/b.ssa: failed: pair/b.srt is also an input of this batch
pair/c.srt: failed: pair/c.ssa is also an input of this batch
5 files: 1 converted, 4 failed" ]
check "one output: the first's" same pair/a.ssa expected.ssa
check "inputs kept" same pair/b.srt "$sample" && check "inputs kept 2" same pair/b.ssa b_before.ssa

# The tree: two seasons, a subfolder, a link back up, a script, frame lines,
# a file without subtitles and one of another kind.
mkdir -p lib/s1/deep lib/s2
cp "$sample" lib/s1/e1.srt; cp "$real/subsrt_sample.srt" lib/s1/e2.SRT; echo notes >lib/s1/notes.txt
cp "$real/libjass_unit_2.ass" lib/s1/deep/e3.ass; ln -s .. lib/s1/deep/loop
cp "$sample" lib/s2/e1.srt; printf 'just text\n' >lib/s2/text.srt
cp "$tests/data/golden/sintel_en_frames.srt" lib/s2/frames.srt
before=$(snapshot lib)

mkdir empty_folder
run --batch empty_folder
check "an empty folder" [ "$status:$out" = "0:0 files: 0 converted, 0 failed" ]

# The plan's files and outputs on the tree (its table is batch_plan_test's);
# the same lines, outputs and totals on one thread and on four.
for jobs in 1 4; do
  run --batch -r -j "$jobs" -o out lib/s1 lib/s2
  cp stdout "lines$jobs"
  check "-j $jobs: status" [ "$status" = 1 ] && check "-j $jobs: totals" [ "$(last_line)" = "6 files: 4 converted, 2 failed" ]
  check "-j $jobs: the outputs" [ "$(cd out && find . -type f | sort | tr '\n' ' ')" = "./deep/e3.srt ./e1.ssa ./e2.ssa ./frames.ssa " ]
  mv out "out$jobs"
done
check "-j 1 and -j 4: the same lines" same lines1 lines4 && check "-j 1 and -j 4: the same bytes" diff -r out1 out4

# The lines come in the inputs' order whatever order the files finish in, by
# no clock: of three threads, two wait on pipes; the third converts the third
# input, then opens the fourth, a pipe fed once it is open, so the third has
# finished when the first input arrives; the second arrives once the first is
# reported.
mkfifo order1.srt order2.srt order4.srt
cp "$sample" order3.srt
"$convert" --batch -j 3 -o orderout order1.srt order2.srt order3.srt order4.srt >stdout 2>stderr &
timeout 60 tee order4.srt <"$sample" >/dev/null
timeout 60 tee order1.srt <"$sample" >/dev/null
for _ in $(seq 1 3000); do grep -q '^order1.srt ' stdout && break; sleep 0.01; done
timeout 60 tee order2.srt <"$sample" >/dev/null
wait
check "pipes arriving late: lines in input order" [ "$(cut -d' ' -f1 stdout | tr '\n' ' ')" = "order1.srt order2.srt order3.srt order4.srt 4 " ]
rm -r order?.srt orderout
check "-j 4: e1 as alone" [ "$("$convert" "$sample" alone.ssa >/dev/null; cmp out4/e1.ssa alone.ssa && echo same)" = same ]

# --json: one object a file and the totals on stdout, the lines on stderr;
# paths with quotes, backslashes and bytes that are not UTF-8.
mkdir odd; cp "$sample" 'odd/q"uote\back.srt'; cp "$sample" "odd/caf$(printf '\351').srt"
run --batch -r --json -j 4 -o outj lib odd
check "--json: the lines on stderr" [ "$(tail -n 1 stderr)" = "8 files: 7 converted, 1 failed" ]
check "--json: parsed" python3 - stdout <<'EOF'
import json, sys
objects = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
files, totals = objects[:-1], objects[-1]
assert [o["status"] for o in files] == ["converted"] * 5 + ["failed", "converted", "converted"], files
assert files[5] == {"input": "lib/s2/text.srt", "output": "outj/s2/text.ssa", "status": "failed",
                    "reason": "no subtitles found", "subs": 0, "lines_not_converted": 0,
                    "seconds": files[5]["seconds"]}, files[5]
assert files[0]["subs"] == 9 and files[0]["reason"] is None and files[0]["seconds"] >= 0
assert files[6]["input"] == "odd/caf\ufffd.srt" and files[7]["output"] == 'outj/q"uote\\back.ssa', files
assert {k: totals[k] for k in ("files", "converted", "failed", "skipped", "not_reached", "dry_run")} == \
    {"files": 8, "converted": 7, "failed": 1, "skipped": 0, "not_reached": 0, "dry_run": False}, totals
EOF

# A dry run reads every input and writes nothing, beside the inputs or into
# an output folder, and says what a run would do.
run --batch -r -n lib
check "dry run: nothing written" [ "$(snapshot lib)" = "$before" ]
check "dry run: lines" [ "$(sed -n '2p;6,7p' stdout)" = "lib/s1/e1.srt -> lib/s1/e1.ssa: would be converted (28 subs)
lib/s2/text.srt: would fail: no subtitles found
6 files: 5 would be converted, 1 would fail" ]
run --batch -r --dry-run -o out1 lib/s1
check "dry run: an output that exists" grep -qx "lib/s1/e1.srt: would be skipped: out1/e1.ssa exists (--overwrite replaces it)" stdout
run --batch -n -o new lib/s1
check "dry run: no output folder" [ ! -e new ]

# A dry run converts every file into a sink: its subs, its lines not converted
# and its --strict failures are a real run's, and nothing is written.
mkdir dry
cp "$sample" dry/a.srt; cp "$real/libjass_unit_2.ass" dry/b.ass
printf '1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03;000 --> 00:00:04;000\nB\n\n' >dry/bad.srt
for strict in "" --strict; do
  run --batch --json $strict -n -o dryout dry
  cp stdout dry.json
  check "dry run $strict: nothing written" [ ! -e dryout ]
  run --batch --json $strict -o dryout dry
  check "dry run $strict: a real run's numbers" python3 - dry.json stdout "$strict" <<'EOF'
import json, sys
def objects(path):
    found = [json.loads(line) for line in open(path, encoding="utf-8")]
    for o in found:
        o.pop("seconds"); o.pop("dry_run", None)
    return found
dry, real = objects(sys.argv[1]), objects(sys.argv[2])
assert dry == real, (dry, real)
bad = dry[2]
assert bad["lines_not_converted"] == 2 and bad["subs"] == 1, bad
assert bad["status"] == ("failed" if sys.argv[3] else "converted"), bad
EOF
  rm -rf dryout
done

# --to: one direction for the batch; the other kind is left alone.
run --batch --to frames lib/s2
check "--to frames" [ "$out" = "lib/s2/e1.srt -> lib/s2/e1.frames.srt: 28 subs
lib/s2/frames.srt: skipped: already frame lines
lib/s2/text.srt: failed: no subtitles found
3 files: 1 converted, 1 failed, 1 skipped" ]
"$convert" "$sample" frames.srt >/dev/null
check "--to frames: frame lines" same lib/s2/e1.frames.srt frames.srt
rm lib/s2/e1.frames.srt
run --batch --to timing -o timing lib/s2/frames.srt lib/s2/e1.srt
check "--to timing: into the output folder" [ "$out" = "lib/s2/frames.srt -> timing/frames.srt: 26 subs
lib/s2/e1.srt: skipped: already timing lines
2 files: 1 converted, 0 failed, 1 skipped" ]
run --batch --to srt pair/a.srt
check "--to srt: a file named that is no script" [ "$out" = "pair/a.srt: skipped: not an SSA or ASS script (--to srt)
1 file: 0 converted, 0 failed, 1 skipped" ]
run --batch --to frames -o lib/s2 lib/s2/e1.srt
check "--to frames into the input's folder" grep -qx "lib/s2/e1.srt: failed: lib/s2/e1.srt is also an input of this batch" stdout
check "the tree as it was" [ "$(snapshot lib)" = "$before" ]

# Output folders: never taken as inputs on the next run; one that cannot be
# made fails its files; one whose files all failed is not left behind.
run --batch -r -o lib/out lib
run --batch -r --overwrite -o lib/out lib
check "the output folder is no input" [ "$(last_line)" = "6 files: 5 converted, 1 failed" ]
rm -r lib/out
run --batch -o lib/s1/notes.txt/out lib/s1/e1.srt
check "a folder that cannot be made" [ "$out" = "lib/s1/e1.srt: failed: cannot create the folder lib/s1/notes.txt: File exists
1 file: 0 converted, 1 failed" ]
run --batch -r -o empty/a/b lib/s2/text.srt
check "no folder left by failed files" [ ! -e empty ]

# The inputs are listed before the first output is written: an output folder
# inside a later subfolder is never walked into, made or not; a folder or a
# file named twice is one input; -o naming a file is refused.
mkdir -p films/a films/c
cp "$sample" films/a/x.srt; cp "$sample" films/c/y.srt
for pass in new made; do
  run --batch -r -j 1 --overwrite -o films/b/subs films
  check "output folder $pass: lines" [ "$out" = "films/a/x.srt -> films/b/subs/a/x.ssa: 28 subs
films/c/y.srt -> films/b/subs/c/y.ssa: 28 subs
2 files: 2 converted, 0 failed" ]
done
check "output folder: its outputs only" [ "$(find films -type f | sort | tr '\n' ' ')" = "films/a/x.srt films/b/subs/a/x.ssa films/b/subs/c/y.ssa films/c/y.srt " ]
run --batch -n films/a ./films/a films/a/x.srt films/a/../a/x.srt
check "named twice: one input" [ "$out" = "films/a/x.srt -> films/a/x.ssa: would be converted (28 subs)
1 file: 1 would be converted, 0 would fail" ]
run --batch -o films/a/x.srt films/c
check "-o naming a file" [ "$status:$out" = "1:" ] &&
  check "-o naming a file: message" [ "$err" = "marliva-convert: films/a/x.srt is not a folder (-o names the folder of the outputs)" ]

# Outputs that are links: written through only with --overwrite, and only to
# a regular file of the output's extension; a file of another kind that the
# link hides stays.
mkdir links
cp "$sample" links/a.srt; cp "$sample" links/b.srt; echo keep >links/other.srt; echo old >links/kept.ssa
ln -s other.srt links/a.ssa; ln -s kept.ssa links/b.ssa
run --batch links/a.srt links/b.srt
check "links: without --overwrite" [ "$out" = "links/a.srt: failed: links/a.ssa is a link to links/other.srt, which is not a regular .ssa file
links/b.srt: skipped: links/b.ssa exists (--overwrite replaces it)
2 files: 0 converted, 1 failed, 1 skipped" ]
run --batch --overwrite links/a.srt links/b.srt
check "links: --overwrite" [ "$(sed -n 2p stdout)" = "links/b.srt -> links/b.ssa: 28 subs" ]
check "links: the other kind kept" [ "$(cat links/other.srt)" = keep ]
check "links: written through" [ -L links/b.ssa ] && check "links: the target's bytes" same links/kept.ssa alone.ssa

# No subtitles in a batch: an existing output keeps its bytes.
echo old >lib/s2/text.ssa
run --batch --overwrite lib/s2/text.srt
check "no subtitles: output kept" [ "$(cat lib/s2/text.ssa)" = old ]
rm lib/s2/text.ssa

# A batch of big files: the progress line on a terminal, and a stop.
mkdir big
"$gensubs" srt 1000000 1 big/b1.srt
for i in 2 3 4 5 6; do cp big/b1.srt big/b$i.srt; done
"$convert" big/b1.srt big.ssa >/dev/null
# The progress line comes after a second, whatever the machine's speed: the
# last input is a pipe that gives its file two seconds late.
mkfifo slow.srt
(sleep 2; cat big/b1.srt) >slow.srt &
script -qec "$convert --batch -j 1 -o bigout big/b2.srt slow.srt" /dev/null </dev/null >tty.txt
wait
check "progress on a terminal" grep -q 'files, [0-9]* files/s, slow.srt' tty.txt
check "progress cleared" grep -q $'\r *\rslow.srt -> bigout/slow.ssa' tty.txt
rm slow.srt bigout/slow.ssa
script -qec "$convert --batch -j 1 --overwrite -o bigout big 2>err.txt" /dev/null </dev/null >/dev/null
check "no progress when stderr is no terminal" [ ! -s err.txt ]
rm -r bigout

# A closed pipe stops a batch as Ctrl+C does: the reader takes the first line
# and goes; the next line fails, and the output being written meanwhile (a big
# one) loses its temporary file; exit status 141. The second input arrives
# once the reader is gone and the big output is being written.
mkfifo late.srt
"$convert" --batch -j 2 -o pipeout "$sample" late.srt big/b1.srt big/b2.srt 2>/dev/null | {
  head -n 1 >first.txt
  exec 0<&-
  for _ in $(seq 1 1000); do compgen -G "pipeout/*.tmp" >/dev/null && break; sleep 0.01; done
  cat "$sample" >late.srt
}
check "closed pipe: exit status 141" [ "${PIPESTATUS[0]}" = 141 ]
check "closed pipe: the first line read" [ "$(cat first.txt)" = "$sample -> pipeout/sintel_en.ssa: 28 subs" ]
check "closed pipe: no temporary file" [ -z "$(compgen -G "pipeout/*.tmp")" ]
for output in pipeout/b*.ssa; do [ -e "$output" ] && check "closed pipe: $output whole" same "$output" big.ssa; done
rm -r late.srt pipeout

# Ctrl+C: the files being written lose their temporary files, the completed
# outputs stay, the totals count what was not reached, as such in JSON too;
# exit status 130.
env --default-signal=INT "$convert" --batch --json -j 2 -o bigout big >stdout 2>stderr &
pid=$!
until [ -e bigout/b1.ssa ] && compgen -G "bigout/*.tmp" >/dev/null || ! kill -0 $pid 2>/dev/null; do sleep 0.005; done
kill -INT $pid
wait $pid
check "Ctrl+C: exit status 130" [ $? = 130 ]
check "Ctrl+C: not reached" grep -q '^6 files: [1-5] converted, 0 failed, [1-5] not reached (interrupted)$' stderr
reached=$(ls bigout | wc -l)
check "Ctrl+C: JSON totals" grep -q "^{\"files\":6,\"converted\":$reached,\"failed\":0,\"skipped\":0,\"not_reached\":$((6 - reached))," stdout
check "Ctrl+C: no temporary file" [ -z "$(compgen -G "bigout/*.tmp")" ]
for output in bigout/*.ssa; do check "Ctrl+C: $output whole" same "$output" big.ssa; done
check "Ctrl+C: each output reported" [ "$(grep -c ' -> ' stderr)" = "$reached" ]

finish
