#!/usr/bin/env bash
# tarvel-report from outside: the CSV of a trace, the charts as a picture
# without a display, skipped lines named, and a clear failure for a file
# that cannot be read.
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
echo "tarvel-report: ok"
