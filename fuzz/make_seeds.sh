#!/usr/bin/env bash
# Writes the seed corpus of each harness under fuzz/corpus/ from the project's
# test files (samples/, tests/data/golden/) and a few freely licensed corpus
# files, each cut to its first 4 KB, with the settings bytes each harness
# reads first. Run again only to change the seeds; they are kept in git.
# usage: fuzz/make_seeds.sh [SHARED_CORPUS_DIR]
set -euo pipefail
cd "$(dirname "$0")"
shared=${1:-../../shared/corpus}
harnesses=(writers ssa_reader time_formatters log_trim run frame_rate_text round_trip decimal_number time_change markup)
for name in "${harnesses[@]}"; do rm -rf "corpus/$name"; mkdir -p "corpus/$name"; done

# MIT, CC BY and Apache files only (their origins in corpus/SOURCES.md).
srt_files=(../samples/sintel_en.srt ../tests/data/golden/sintel_en_back.srt
           ../tests/data/golden/sintel_en_frames.srt ../tests/data/golden/sintel_en_shifted.srt)
ssa_files=(../tests/data/golden/sintel_en.ssa ../tests/data/golden/sintel_en_split.ssa)
for name in subsrt_sample.srt subsrt_sample_microdvd.sub astisub_cr_only.srt morevna_ep3_en_crlf.srt; do
  [[ -f $shared/$name ]] && srt_files+=("$shared/$name")
done
for name in subsrt_sample.ssa astisub_example_in.ssa astisub_cr_only.ssa libjass_unit_2.ass; do
  [[ -f $shared/$name ]] && ssa_files+=("$shared/$name")
done

zeros16='\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
zeros8='\x00\x00\x00\x00\x00\x00\x00\x00'
# Writer settings: flags (writer, join 0x04, shift 0x08, frame-rate table
# index + 1 in the high half: 1 is 25, 2 is 29.97, 4 is 0, 9 is NaN), the raw
# frame rate, then hours, minutes, seconds, millis of the first sub.
seed() {  # seed FLAGS FIRSTSUB FILE NAME
  { printf "$1$zeros8$2"; head -c 4096 "$3"; } >"corpus/writers/$4"
}
for file in "${srt_files[@]}"; do
  base=$(basename "$file")
  seed '\x14' "$zeros16" "$file" "$base.to-ssa-joined"
  seed '\x20' "$zeros16" "$file" "$base.to-ssa-split-2997"
  seed '\x1e' '\x00\x00\x00\x00\x01\x00\x00\x00\x1e\x00\x00\x00\xf4\x01\x00\x00' "$file" "$base.swap-shifted"
  seed '\x42' "$zeros16" "$file" "$base.swap-rate-0"
  # Whole runs: flags (pair 0 SRT => SSA, 2 SRT => SRT, 3 onto itself; join
  # 0x08, shift 0x10), a frame-rate table index (0 is 25, 1 is 0, 3 is NaN), first sub.
  { printf "\x08\x00$zeros16"; head -c 4096 "$file"; } >"corpus/run/$base.to-ssa"
  { printf "\x13\x03$zeros16"; head -c 4096 "$file"; } >"corpus/run/$base.onto-itself-nan"
  { printf '\x12\x00\xff\xff\xff\xff'"$zeros8"'\x00\x00\x00\x00'; head -c 4096 "$file"; } >"corpus/run/$base.swap-huge-hours"
  seed '\x9e' '\xff\xff\xff\xff\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' "$file" "$base.swap-nan-huge-hours"
done
for file in "${ssa_files[@]}"; do
  base=$(basename "$file")
  seed '\x11' "$zeros16" "$file" "$base.to-srt"
  seed '\x19' '\x00\x00\x00\x00\x00\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00' "$file" "$base.to-srt-shifted"
  { printf "\x01\x00$zeros16"; head -c 4096 "$file"; } >"corpus/run/$base.to-srt"
  { printf "\x11\x00$zeros16"; head -c 4096 "$file"; } >"corpus/run/$base.to-srt-shifted"
  # The SSA reader: flag 0x04 takes the script as it stands, 0x01 shifts.
  { printf '\x04\x00\x00\x00\x00'; head -c 4096 "$file"; } >"corpus/ssa_reader/$base"
  { printf '\x05\x10\x27\x00\x00'; head -c 4096 "$file"; } >"corpus/ssa_reader/$base.shifted"
done
# Built layouts: Format line, then records of piece choices (see fuzz_ssa_reader.cpp).
printf '\x08\x00\x00\x00\x00\x0c\x00\x03\x08\x04\x08\x0a\x08\x0c\x08\x0d\x08\x0d\x08' >corpus/ssa_reader/built-event
printf '\x09\x00\x00\x00\x00\x07\x00\x06\x08\x04\x08\x08\x0e\x03\x00\x05' >corpus/ssa_reader/built-negative
printf '\x18\x00\x00\x00\x00\x04\x00\x03\x40abc\x02\x00\x0e\x0f\x0e' >corpus/ssa_reader/built-short-lf

# Time pairs: start and end as doubles, then a count of milliseconds.
times=('\x00\x00\x00\x00\x00\x00\x00\x00' '\x00\x00\x00\x00\x00\x00\xc0\x3f'
       '\x3d\x0a\xd7\xa3\x70\xfd\x23\x40' '\x8f\xc2\xf5\x28\x5c\xff\x4d\x40'
       '\x0e\x2d\xb2\x9d\xef\xff\x4d\x40' '\x71\x3d\x0a\xd7\xff\x93\xe1\x40'
       '\x00\x00\x00\x00\x00\x94\xe1\x40' '\x00\x00\x00\x00\x00\x00\xf0\xbf'
       '\x00\x00\x00\x00\x00\x00\xf8\x7f' '\x00\x00\x00\x00\x00\x00\xf0\x7f'
       '\x9c\x75\x00\x88\x3c\xe4\x37\x7e' '\x00\x00\x34\x26\xf5\x6b\x0c\x43'
       '\x01\x00\x00\x00\x00\x00\x00\x00' '\x00\x00\xc0\xff\xff\xff\xdf\x41')
for i in "${!times[@]}"; do
  next=${times[$(( (i + 1) % ${#times[@]} ))]}
  printf "${times[$i]}$next\\x0b\\x27\\x00\\x00" >"corpus/time_formatters/pair-$i"
done

# Log texts: flags, the split as two bytes, then old and new.
line=$'SRT => SSA ... done.\r\n\r\ntime : 0.012 sec\r\nsubs : 42\r\nspeed: 3500 subs/s\r\n'
{ printf '\x00\x00\x00'; printf '%s' "$line"; } >corpus/log_trim/empty-pane
{ printf '\x00\xf0\x03'; for _ in $(seq 1 15); do printf '%s' "$line"; done; } >corpus/log_trim/full-pane
{ printf '\x00\xfe\x03'; head -c 1022 /dev/zero | tr '\0' 'x'; printf 'new message'; } >corpus/log_trim/no-line-feed
{ printf '\x01\x00\x08'; for _ in $(seq 1 40); do printf '%s' "$line"; done; } >corpus/log_trim/oversized
# Frame-rate box texts.
for text in 30 29.97 25 24 23.976 15 '25 fps' abc NaN -nan inf 1e999 ' +1e-3x' '-0' '0x1A' '.5' '5.'; do
  printf '%s' "$text" >"corpus/frame_rate_text/$(printf '%s' "$text" | tr -c 'A-Za-z0-9.+-' '_')"
done
# Decimal numbers (a first byte of 0: the text as it stands): hard cases of
# rounding, ties, the ends of the range, and more digits than matter.
half='2.4703282292062327208828439643411068618252990130716238221279284125033775363510437593264991818081799618989828234772285886546332835517796989819938739800539093906315035659515570226392290858392449105184435931802849936536152500319370457678249219365623669863658480757001585769269903706311928279558551332927834338409351978015531246597263579574622766465272827220056374006485499977096599470454020828166226237857393450736339007967761930577506740176324673600968951340535537458516661134223766678604162159680461914467291840300530057530849048765391711386591646239524912623653881879636239373280423891018672348497668235089863388587925628302755995657524455507255189313690836254779186948667994968324049705821028513185451396213837722826145437693412532098591327667236328125e-324'
numbers=(23.976 29.97 0.1 9007199254740993 1.00000000000000011102230246251565404236316680908203125
         2.2250738585072011e-308 4.9406564584124654e-324 1.7976931348623158e308 1e309 "$half" "${half/e-324/1e-324}"
         "0.$(printf '3%.0s' $(seq 1 900))")
for i in "${!numbers[@]}"; do
  { printf '\x00'; printf '%s' "${numbers[$i]}"; } >"corpus/decimal_number/number-$i"
done
# Round trips: a frame-rate index, then records of entries (start, length,
# lines) taken from any bytes: the bundled sample's, and times at the far end.
for rate in 0 1 3; do
  { printf "\\x0$rate"; head -c $((1500 * (rate + 1))) ../samples/sintel_en.srt; } >"corpus/round_trip/sample-rate-$rate"
done
{ printf '\x04'; for _ in $(seq 1 20); do printf '\xff\xff\xff\xff\xff\xff\x02\x10abcdefghijklmnop'; done; } >corpus/round_trip/far-hours
# Time changes: a byte choosing named rates (even) or ratios (odd), the two
# rates, then times: one hour, its half and the points of a two-point sync.
{ printf '\x00\x00\x02'; printf '\x80\xee\x36\x00\x10\x27\x00\x00\xe0\x2e\x00\x00\x80\xee\x36\x00\x58\x0b\x37\x00'; } >corpus/time_change/ntsc-to-25
{ printf '\x00\x04\x08'; printf '\x40\x77\x1b\x00\x00\x00\x00\x00\xe8\x03\x00\x00\x10\x27\x00\x00\xa0\x86\x01\x00'; } >corpus/time_change/2997-to-11988
{ printf '\x01\xc0\x5d\x00\x00\xe9\x03\x00\x00\xa8\x61\x00\x00\xe8\x03\x00\x00'; printf '\xff\xff\xff\xff%.0s' 1 2 3 4 5 6 7; } >corpus/time_change/ratios-far-times
# Markup: the text of one subtitle, its lines split at line feeds, read as
# SRT, SSA and frame-line text alike.
markup=('<i>Italic</i> and <b>bold</b>' '<b>a <i>b</b> c</i> d' '<i>a <i>b</i> c</i>'
        '<font color="#FF8000">orange</font> <font color="#F80">d' 'x < y and y > z; I <3 you <<Bonjour>> a<b and c>d'
        'Tom & Jerry &amp; co &lt;' '{\an8}Top line' '{\a6}Top' '{\i1\b1}both{\b0} italic only{\i0}'
        '{\c&H0000FF&}red{\c} {\1c&H00FF00&}green' '{a comment}visible {\k20}kara{\k30}oke'
        'a {\i1 unterminated' '{y:i}italic|plain' '{Y:i}all|still' '{c:$0000FF}red|plain' '{y:b,i}{Y:u}a|{y:ib}b'
        $'<i>Line one\nline two</i>' $'<i>first</i>\nsecond' '<font face="Arial" size=20 color=red>f</font><br/>x'
        '{\p1}m 0 0 l 1 1{\p0}text {\t(\fs20\c&HFF&)\bord2}' '<blink>on</blink> <span class="x">off</span>'
        '1\N2\n3\h4 {\r}<u><s>us</s></u>')
for i in "${!markup[@]}"; do printf '%s' "${markup[$i]}" >"corpus/markup/case-$i"; done
echo "seeds: $(find corpus -type f ! -name '*.md' | wc -l) files"
