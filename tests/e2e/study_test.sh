#!/usr/bin/env bash
# A study run through the real trainer on its own Xvfb, as a participant
# would: two conditions of four fixed targets, by marks drawn with the real
# pointer, then in the menu that pops up at the press, resting in each item
# until its submenu opens. The log must hold eight rows with the right
# paths.
# Also: a bad study file and a bad option are refused before anything is
# shown or written. Screenshots stay in WORKDIR.
#
# Then a study stopped with Escape at its pause between blocks and started
# again: it goes on from the next trial, in a new session that says so.
#
#   study_test.sh TARVEL STUDY PAUSE_STUDY WORKDIR
set -euo pipefail

tarvel=$1
study=$2
pause_study=$3
work=$4
source "$(dirname "$0")/../../scripts/xvfb-session.sh"
fail_shows=("$work/tarvel.err" "$work/tarvel.out")
logs="$work/logs"

# Refused at once, with status 2 and nothing written.
printf '{"menus": [], "conditions": [{"name": "a", "menu": "nowhere"}]}' >"$work/bad.json"
set +e
"$tarvel" --study "$work/bad.json" --participant x --output "$logs" 2>"$work/bad.err"
status=$?
"$tarvel" --study "$study" --participnt x 2>"$work/option.err"
option_status=$?
set -e
[ "$status" = 2 ] || fail "a bad study file gave status $status"
grep -q "bad.json:1" "$work/bad.err" || fail "no file and line in: $(cat "$work/bad.err")"
[ "$option_status" = 2 ] || fail "a bad option gave status $option_status"
[ ! -e "$logs" ] || fail "a refused study wrote $logs"

start_xvfb || fail "Xvfb did not start"
"$tarvel" --study "$study" --participant e2e --output "$logs" \
  >"$work/tarvel.out" 2>"$work/tarvel.err" &
tarvel_pid=$!
pids="$tarvel_pid $pids"

find_study_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Tarvel: ' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
    if [ "${WIDTH:-0}" = 640 ] && [ "${HEIGHT:-0}" -gt 480 ]; then
      vx=$X vy=$((Y + HEIGHT - 480))
      return 0
    fi
  done
  return 1
}
within 30 find_study_window || fail "no study window"
echo "view at $vx,$vy" >>"$log"

ground="srgb(246,244,238)"
panel_colour="srgb(150,100,100)"
px=$((vx + 465)) py=$((vy + 255))
# A point of the panel away from its text.
qx=$((vx + 400)) qy=$((vy + 150))
on_screen() { shot "$1" && [ "$(pixel "$1" "$2" "$3")" = "$4" ]; }
# The trial screen with no outcome band under it.
trial_ready() {
  shot trial && [ "$(pixel trial $qx $qy)" = "$panel_colour" ] &&
    [ "$(pixel trial $((vx + 320)) $((vy + 447)))" = "$ground" ]
}
rows() { [ -f "$1" ] && grep -vc '^#' "$1" || echo 0; }
logged() { [ "$(rows "$log_file")" -ge $((done_rows + 1)) ]; }
# The outcome shows for a moment; the next target comes after it.
outcome() { shot outcome && [ "$(pixel outcome $((vx + 320)) $((vy + 447)))" != "$ground" ]; }

within 20 on_screen welcome $((vx + 20)) $((vy + 300)) "$ground" || fail "the welcome never came"
log_file=$(ls "$logs"/*/e2e/session-1/trials.csv 2>/dev/null || true)
[ -n "$log_file" ] || fail "no log was opened"

# Legs of 80 px, 8 px a step, for a path of positions; with `rest` set,
# the pointer rests that long after each leg but the last.
mark() {
  local x=$px y=$py points=("$px" "$py") p i dx dy n=0
  for p in "$@"; do
    n=$((n + 1))
    case $p in
      0) dx=0 dy=-1 ;; 2) dx=1 dy=0 ;; 4) dx=0 dy=1 ;; 6) dx=-1 dy=0 ;;
    esac
    for i in $(seq 1 10); do
      x=$((x + 8 * dx)) y=$((y + 8 * dy))
      points+=("$x" "$y")
    done
    if [ -n "${rest:-}" ] && [ "$n" -lt $# ]; then
      for i in $(seq 1 $((rest / 10))); do points+=("$x" "$y"); done
    fi
  done
  draw_mark "${points[@]}"
}

# A click past the welcome or a condition's results, then one past the
# condition's introduction.
begin_condition() {
  xdotool mousemove $((vx + 100)) $((vy + 300)) click 1
  sleep 0.3
  within 10 on_screen intro $((vx + 20)) $((vy + 300)) "$ground" || fail "no introduction"
  xdotool mousemove $((vx + 100)) $((vy + 300)) click 1
}
# One trial a path given ("2 0"), each drawn once its target is up and
# logged before the next.
trials() {
  local t
  for t in "$@"; do
    within 20 trial_ready || fail "trial $((done_rows + 1)) never came"
    # shellcheck disable=SC2086
    mark $t
    done_rows=$((done_rows + 1))
    within 20 logged || fail "trial $done_rows was not logged"
    # Should the outcome come and go between two looks, it is over after 3 s.
    within 3 outcome || true
  done
}

targets=("0 0" "2 2" "4 6" "6 4")
done_rows=0
for condition in 1 2; do
  # The second condition shows the menu at the press.
  rest=""
  [ "$condition" = 2 ] && rest=600
  begin_condition
  trials "${targets[@]}"
  shot "after-condition-$condition"
  # The condition's results, once its last outcome has shown.
  results() { shot results && [ "$(pixel results $qx $qy)" != "$panel_colour" ]; }
  within 10 results || fail "no results after condition $condition"
done

[ "$(rows "$log_file")" = 9 ] || fail "the log holds $(($(rows "$log_file") - 1)) rows, not 8"
# Columns: condition 3, target_path 7, chosen_path 9, hit 11.
paths=$(grep -v '^#' "$log_file" | tail -n +2 | cut -d, -f3,7,9,11 | tr '\n' ' ')
echo "rows: $paths" >>"$log"
expected="marks,0/0,0/0,1 marks,2/2,2/2,1 marks,4/6,4/6,1 marks,6/4,6/4,1 menu,0/0,0/0,1 menu,2/2,2/2,1 menu,4/6,4/6,1 menu,6/4,6/4,1 "
[ "$paths" = "$expected" ] || fail "the log's paths are '$paths', not '$expected'"
within 10 on_screen done $((vx + 20)) $((vy + 300)) "$ground" || fail "no last screen"
echo "study: 8 trials logged with the right paths" >>"$log"
xdotool mousemove $((vx + 100)) $((vy + 300)) click 1  # the last screen closes
gone() { ! kill -0 "$tarvel_pid" 2>/dev/null; }
within 10 gone || fail "the last click did not close the study"

# Two trials, then Escape at the pause.
rest=""
start_pause_study() {
  "$tarvel" --study "$pause_study" --participant e2e --output "$logs" \
    >>"$work/tarvel.out" 2>>"$work/tarvel.err" &
  tarvel_pid=$!
  pids="$tarvel_pid $pids"
  within 30 find_study_window || fail "no window for the pause study"
  within 20 on_screen welcome $((vx + 20)) $((vy + 300)) "$ground" || fail "no welcome"
  begin_condition
}
start_pause_study
log_file="$logs/pause-study/e2e/session-1/trials.csv"
done_rows=0
trials "0 0" "2 2"
paused() { shot pause && [ "$(pixel pause $qx $qy)" = "$ground" ]; }
within 10 paused || fail "no pause after the first block"
xdotool mousemove $((vx + 100)) $((vy + 300)) key Escape
stopped_line() { tail -n 1 "$log_file" | grep -q '^# stopped by the participant after condition marks, block 1, trial 2; 2 of 4 trials done$'; }
within 10 stopped_line || fail "the log does not say where the study stopped: $(tail -n 1 "$log_file")"
shot stopped
xdotool click 1
within 10 gone || fail "the stopped study did not close"

start_pause_study
log_file="$logs/pause-study/e2e/session-2/trials.csv"
done_rows=0
trials "0 0" "2 2"
head -n 1 "$log_file" | grep -q "; session 2; .*; resumed after condition marks, block 1, trial 2$" ||
  fail "the second session does not say where it goes on: $(head -n 1 "$log_file")"
blocks=$(grep -v '^#' "$log_file" | tail -n +2 | cut -d, -f4,5,7 | tr '\n' ' ')
[ "$blocks" = "2,1,0/0 2,2,2/2 " ] || fail "the second session ran '$blocks'"
echo "pause study: stopped at the pause, resumed from block 2 in session 2" >>"$log"
