#!/usr/bin/env bash
# tarvel-report from outside: the CSV of a trace, the charts as a picture
# without a display, skipped lines named, and a clear failure for a file
# that cannot be read; then the study logs of three participants as tables,
# a tidy CSV and charts, with files of other kinds named and skipped.
#
#   report_test.sh TARVEL_REPORT WORKDIR
set -euo pipefail
report=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
unset DISPLAY WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

{
  for i in $(seq 1 30); do
    kind=m
    [ $((i % 4)) = 0 ] && kind=M
    echo "$((1000 + i)) $kind 0.$((90 - 2 * i)) $((i % 3 + 1))1   "
  done
  echo "not a trace line"
  echo "1031 M 0.80 0  b1 "
  printf '1032 m 0.3'
} >"$work/user.trc"

"$report" "$work/user.trc" --csv "$work/out.csv" 2>"$work/err" || fail "exit $?"
[ "$(head -n 1 "$work/out.csv")" = "line,press_time,kind,duration_s,path,mark_ahead,back_ups,changes" ] ||
  fail "header: $(head -n 1 "$work/out.csv")"
[ "$(wc -l <"$work/out.csv")" = 32 ] || fail "$(wc -l <"$work/out.csv") lines of CSV"
grep -qx "4,1004,menu,0.82,21,0,0,0" "$work/out.csv" || fail "row 4: $(sed -n 5p "$work/out.csv")"
grep -qx "32,1031,menu,0.80,0,0,1,0" "$work/out.csv" || fail "the last row"
grep -q "skipped: 31, 33" "$work/err" || fail "skipped lines: $(cat "$work/err")"

"$report" "$work/user.trc" --png "$work/charts.png" --size 1000x700 2>"$work/err" || fail "png: exit $?"
[ "$(identify -format %wx%h "$work/charts.png")" = 1000x700 ] || fail "charts of $(identify -format %wx%h "$work/charts.png")"
colours=$(convert "$work/charts.png" -format %k info:)
[ "$colours" -gt 50 ] || fail "a picture of $colours colours: no charts"

status=0
"$report" "$work/none.trc" --csv "$work/none.csv" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "a missing trace exits $status"
grep -q "can't read $work/none.trc: No such file or directory" "$work/err" || fail "message: $(cat "$work/err")"
[ ! -e "$work/none.csv" ] || fail "a CSV was written for a missing trace"
status=0
"$report" 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "no arguments exit $status"
# Two learners' traces at once: a summary of each.
head -n 10 "$work/user.trc" >"$work/second.trc"
"$report" "$work/user.trc" "$work/second.trc" >"$work/two.txt" 2>"$work/err" || fail "two traces: exit $?"
[ "$(grep -c "selections" "$work/two.txt")" = 2 ] || fail "two traces gave: $(cat "$work/two.txt")"
grep -q "^10 selections" "$work/two.txt" || fail "the second trace's summary: $(cat "$work/two.txt")"
# Three participants of one study, one condition; figures worked by hand.
header="participant,study,condition,block,trial,practice,target_path,target_label,chosen_path,chosen_label,hit,by_mark,mark_ahead,back_ups,changes,target_shown_at,reaction_ms,selection_ms"
at=2026-12-09T07:30:02.511Z
study() { # participant, then rows of: block trial hit by_mark back_ups ms
  local p=$1
  shift
  echo "# tarvel 1.0; study s; sha256 3f2a; screen 1280x1024; pixel ratio 1; session 1; started $at"
  echo "$header"
  while [ $# -gt 0 ]; do
    read -r block trial hit mark backs ms <<<"$1"
    chosen='2/0,Saw'
    [ "$hit" = 1 ] || chosen='5/3,"Kettle, old"'
    [ "$ms" != 700 ] || chosen=','
    echo "$p,s,A,$block,$trial,$([ "$block" = 0 ] && echo 1 || echo 0),2/0,Saw,$chosen,$hit,$mark,0,$backs,0,$at,400,$ms"
    shift
  done
}
mkdir -p "$work/study/P01/1" "$work/study/P02" "$work/study/P03"
study P01 "0 1 0 0 0 9000" "1 1 1 1 0 100" "1 2 1 0 1 200" "1 3 1 1 0 300" \
  "1 4 0 0 2 400" "2 1 1 1 0 100" "2 2 1 1 0 300" >"$work/study/P01/1/trials.csv"
{
  study P02 "1 1 1 0 0 500" "1 2 0 0 0 700"
  echo "# stopped by the participant after condition A, block 1"
} >"$work/study/P02/trials.csv"
{
  study P03 "1 1 1 0 0 200" "1 2 1 0 0 600"
  echo "P03,s,A,x,3,0,2/0,Saw,2/0,Saw,1,0,0,0,0,$at,400,100"
  printf 'P03,s,A,1,4,0,2/0,Saw,2/0,Saw,1,0,0,0,0,%s,4' "$at"
} >"$work/study/P03/trials.csv"
echo "participant,condition,block,trial,t_ms,x,y" >"$work/study/strokes.csv"

"$report" "$work/study" "$work/user.trc" "$work/study/strokes.csv" --csv "$work/study.csv" \
  2>"$work/err" || fail "study: exit $?"
grep -q "P03/trials.csv, line 5: field block" "$work/err" || fail "the bad row: $(cat "$work/err")"
grep -q "P03/trials.csv, line 6: cut short" "$work/err" || fail "the cut row: $(cat "$work/err")"
grep -q "user.trc is a trace file among study logs; skipped" "$work/err" || fail "the trace: $(cat "$work/err")"
grep -q "strokes.csv is a strokes.csv, neither" "$work/err" || fail "the strokes: $(cat "$work/err")"
[ "$(head -n 1 "$work/study.csv")" = "participant,condition,block,participants,trials,hits,hit_rate,hit_rate_wilson95_low,hit_rate_wilson95_high,median_selection_ms,median_selection_ms_binom95_low,median_selection_ms_binom95_high,mean_selection_ms,mark_share,back_ups" ] ||
  fail "study header: $(head -n 1 "$work/study.csv")"
# Four participant rows, two per block, one for the condition.
[ "$(wc -l <"$work/study.csv")" = 8 ] || fail "$(wc -l <"$work/study.csv") lines of study CSV"
expect() { grep -qx "$1" "$work/study.csv" || fail "no row $1 in: $(cat "$work/study.csv")"; }
expect "P01,A,1,1,4,3,0.7500,0.3006,0.9544,250.0,NA,NA,250.0,0.5000,3"
expect "P02,A,1,1,2,1,0.5000,0.0945,0.9055,600.0,NA,NA,600.0,0.0000,0"
expect "P01,A,2,1,2,2,1.0000,0.3424,1.0000,200.0,NA,NA,200.0,1.0000,0"
# Block 1 pooled: 6 hits of 8; times 100 200 200 300 400 500 600 700.
expect "ALL,A,1,3,8,6,0.7500,0.4093,0.9285,350.0,100.0,700.0,375.0,0.2500,3"
# The condition: 8 of 10, Wilson 0.4902..0.9433; median of ten, x(2)..x(9).
expect "ALL,A,NA,3,10,8,0.8000,0.4902,0.9433,300.0,100.0,600.0,340.0,0.4000,3"

"$report" "$work/study/P01/1/trials.csv" "$work/study/P02/trials.csv" \
  >"$work/out" 2>"$work/err" || fail "tables: exit $?"
# P01 and P02: times 100 100 200 300 300 400 500 700.
grep -Eq "^A +2 +8 +6 +0.75 +\[0.41, 0.93\] +300 +\[100, 700\] +325" "$work/out" ||
  fail "condition table: $(cat "$work/out")"
grep -Eq "^P02 +A +1 +2 +1 +0.50 +600" "$work/out" || fail "block table: $(cat "$work/out")"

"$report" "$work/study" --png "$work/study.png" --size 1100x800 2>"$work/err" || fail "study png: exit $?"
[ "$(identify -format %wx%h "$work/study.png")" = 1100x800 ] || fail "study charts of $(identify -format %wx%h "$work/study.png")"
colours=$(convert "$work/study.png" -format %k info:)
[ "$colours" -gt 50 ] || fail "a study picture of $colours colours: no charts"

status=0
"$report" "$work/study/strokes.csv" "$work/none.csv" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "nothing readable exits $status"
status=0
"$report" "$work/study" --size 10x10 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "a bad size exits $status"
echo "tarvel-report: ok"
