#!/usr/bin/env bash
# The real trainer on its own Xvfb, used as a person would: wait for the
# window, click into the training area, draw a mark with the real pointer,
# and see the trial counted, in the trace file when the trace directory can
# be made and on the screen in any case; clicks made during the picture
# shuffle start no trial. Then a menu of the learner's own:
# a file that does not read is refused with one dialog naming its line and
# field, a good one is practised by mark, each trial in its own record.
# Screenshots stay in WORKDIR.
#
#   trainer_test.sh TARVEL WORKDIR
set -euo pipefail

tarvel=$1
work=$2
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

trace_root=/h/tessik/TraceData
trace_file=$trace_root/unknown/user.trc
made_trace=""

fail_shows=("$work/tarvel.err")
cleanup() {
  stop_all
  # Only what this test made goes again.
  [ -n "$made_trace" ] && rm -rf "$made_trace"
  return 0
}
trap cleanup EXIT

# The trace directory is fixed; make it for this run when it is missing and
# this user may.
if [ ! -d "$trace_root/unknown" ]; then
  for dir in /h /h/tessik "$trace_root"; do
    if [ ! -e "$dir" ]; then
      mkdir -p "$trace_root/unknown" 2>/dev/null && made_trace=$dir
      break
    fi
  done
fi
traced=false
[ -w "$trace_root/unknown" ] && traced=true
lines_before=0
[ -f "$trace_file" ] && lines_before=$(wc -l <"$trace_file")

start_xvfb || fail "Xvfb did not start"
"$tarvel" >"$work/tarvel.out" 2>"$work/tarvel.err" &
tarvel_pid=$!
pids="$tarvel_pid $pids"

within 30 find_trainer_window || fail "no Tarvel window of the trainer's size"
echo "window $window at $X,$Y ${WIDTH}x$HEIGHT, view at $vx,$vy" >>"$log"

# The view is black before the opening (a screenshot all in greys gives
# its pixels as gray(N)), and goes black in patches while the opening
# dissolves: the main menu is there once it stands still.
opening() {
  shot menu || return 1
  case "$(pixel menu $((vx + 300)) $((vy + 100)))" in "srgb(0,0,0)" | gray*) return 1 ;; esac
}
within 30 opening || fail "the opening never came"
main_menu() { shot menu && [ "$(pixel menu $((vx + 590)) $((vy + 390)))" = "srgb(0,0,0)" ]; }
within 30 main_menu || fail "the main menu never came"
within 20 settled menu || fail "the main menu kept changing"
xdotool mousemove $((vx + 110)) $((vy + 120)) click 1
panel() { shot trial && [ "$(pixel trial $((vx + 300)) $((vy + 250)))" = "srgb(150,100,100)" ]; }
within 40 panel || fail "the training area never showed its panel"
# The target is up once the picture shuffle has stopped.
within 20 settled trial "" 4 || fail "the trial screen never settled"

# Food, then Apple: one stroke straight up from the panel's centre.
x=$((vx + 351)) y=$((vy + 176))
points=("$x" "$y")
for i in $(seq 1 15); do points+=("$x" $((y - 10 * i))); done
draw_mark "${points[@]}"
shot confirmation

if $traced; then
  new_line() { [ "$(wc -l <"$trace_file")" -gt "$lines_before" ]; }
  within 10 new_line || fail "no trace line for the mark"
  line=$(tail -n 1 "$trace_file")
  echo "trace: $line" >>"$log"
  read -r _ letter _ digits _ <<<"$line"
  [ "$letter" = m ] || fail "the trace says '$letter', not a mark: $line"
  [ "$digits" = 11 ] || fail "the mark chose $digits, not Food, Apple: $line"
fi

# One of the two counts next to the lamps now reads 1.
counted() {
  shot counted
  [ "$(compare -metric AE -crop 30x60+$((vx + 100))+$((vy + 205)) \
      "$work/trial.png" "$work/counted.png" null: 2>&1 || true)" != 0 ]
}
within 15 counted || fail "the trial was not counted on the screen"
kill -0 "$tarvel_pid" || fail "tarvel is gone"

# The counts beside the lamps change with the first frame of the next
# target's shuffle, so a click made as soon as they have changed falls
# inside the shuffle: made at another picture, it must start no trial. The
# record keeps how long after its target each trial was pressed, and one
# taken although it came before its target shows as pressed a few
# milliseconds after it (no hand is that quick). Each round starts with a
# click at a target standing still, a trial of its own.
trials=$(ls "$HOME"/.local/share/tarvel/trainer/session-*/trials.csv 2>/dev/null | head -n 1)
[ -n "$trials" ] || fail "the trainer kept no record of its trials"
rows() { grep -vc '^#' "$trials"; }
box=105x105+$((vx + 284))+$((vy + 286))
counts=30x60+$((vx + 100))+$((vy + 205))
counts_shot() { import -window root -crop "$counts" +repage "$work/$1.png"; }
recounted() {
  counts_shot counts-now
  [ "$(compare -metric AE "$work/counts-before.png" "$work/counts-now.png" null: 2>&1 || true)" != 0 ]
}
early_trials() {
  local early
  early=$(awk -F, '!/^#/ && $17 ~ /^[0-9]+$/ && $17 < 10 { printf "trial %s (%s) pressed %s ms after it; ", $5, $8, $17 }' "$trials")
  [ -z "$early" ] || fail "a press made during the shuffle was taken as a trial: $early"
}
xdotool mousemove "$x" "$y"
for round in 1 2; do
  within 20 settled "target$round" "$box" 3 || fail "round $round: the target never stood still"
  counts_shot counts-before
  before=$(rows)
  xdotool click 1
  grown() { [ "$(rows)" -gt "$before" ]; }
  within 10 grown || { early_trials; fail "round $round: a click at a standing target was no trial"; }
  within 15 recounted || fail "round $round: the trial was not counted on the screen"
  xdotool click 1
done
within 20 settled target-last "$box" 3 || fail "the last target never stood still"
cp "$trials" "$work/trials.csv"
early_trials

# Options, Practise a menu file..., a path typed into the file dialog.
choose_menu_file() {
  xdotool windowfocus --sync "$window" key alt+o f
  dialog() { xdotool search --onlyvisible --name '^Practise a menu file$' >/dev/null; }
  within 15 dialog || fail "no file dialog for a menu file"
  sleep 0.3 # the dialog's line edit takes the keys once it has the focus
  xdotool type --delay 5 "$1"
  xdotool key Return
}
menus=$HOME/menus
mkdir -p "$menus"
cat >"$menus/broken.json" <<'JSON'
{"menus": [{"name": "broken", "items": [
  {"label": "File", "position": 0},
  {"label": "Edit", "position": 0}
]}]}
JSON
choose_menu_file "$menus/broken.json"
refused() { grep -q 'broken.json:3: menus\[0\].items\[1\].position' "$work/tarvel.err"; }
within 15 refused || fail "the broken menu file was not refused naming its line and field"
warning() { xdotool search --onlyvisible --name '^Tarvel$' | grep -qv "^$window\$"; }
within 10 warning || fail "no dialog said why the menu file was refused"
shot refused
xdotool key Return

# North or east, then north or east: four leaves, two of them named alike.
cat >"$menus/two-levels.json" <<'JSON'
{"menus": [{"name": "two-levels", "items": [
  {"label": "File", "position": 0, "items": [
    {"label": "Open", "position": 0}, {"label": "Close", "position": 2}]},
  {"label": "Window", "position": 2, "items": [
    {"label": "New", "position": 0}, {"label": "Close", "position": 2}]}
]}]}
JSON
choose_menu_file "$menus/two-levels.json"
record=$HOME/.local/share/tarvel/menus/two-levels/session-1/trials.csv
# The target comes afresh, asked for in words.
sleep 0.5
within 20 settled words "" 4 || fail "the menu file's first target never settled"
rows() { [ -f "$record" ] && grep -c '^learner,' "$record" || echo 0; }
leg() { # dx dy: ten steps of 10 pixels from the last point
  for i in $(seq 1 10); do points+=($((px + $1 * i)) $((py + $2 * i))); done
  px=$((px + $1 * 10)) py=$((py + $2 * 10))
}
marks=("0 -10 0 -10" "0 -10 10 0" "10 0 0 -10" "10 0 10 0")
paths=(0/0 0/2 2/0 2/2)
for trial in 0 1 2 3 4 5; do
  px=$x py=$y points=("$x" "$y")
  read -r ax ay bx by <<<"${marks[$((trial % 4))]}"
  leg "$ax" "$ay"
  leg "$bx" "$by"
  draw_mark "${points[@]}"
  written() { [ "$(rows)" -gt "$trial" ]; }
  within 15 written || fail "trial $((trial + 1)) of the menu file was not recorded"
  row=$(grep '^learner,' "$record" | tail -n 1)
  echo "menu file: $row" >>"$log"
  IFS=, read -r _ study condition _ _ _ target _ chosen _ hit by_mark _ <<<"$row"
  [ "$study,$condition" = two-levels,training ] || fail "recorded as $study, $condition: $row"
  [ "$chosen" = "${paths[$((trial % 4))]}" ] || fail "the mark chose $chosen: $row"
  [ "$by_mark" = 1 ] || fail "not taken as a mark: $row"
  case $target in 0/0 | 0/2 | 2/0 | 2/2) ;; *) fail "asked for $target: $row" ;; esac
  [ "$hit" = "$([ "$target" = "$chosen" ] && echo 1 || echo 0)" ] ||
    fail "scored $hit for target $target, chosen $chosen"
  rm -f "$work/words.png"
  within 20 settled words "" 4 || fail "no next target after trial $((trial + 1))"
done
[ ! -e "$HOME/.local/share/tarvel/trainer/session-2" ] ||
  fail "the menu file's trials went to the practice menu's record"

# File, Exit ends the program, and nothing goes wrong on the way out.
xdotool windowfocus --sync "$window" key alt+f x
# Ended, whether or not yet waited for.
gone() { ! ps -o stat= -p "$tarvel_pid" | grep -qv Z; }
within 15 gone || fail "File, Exit did not end the trainer"
status=0
wait "$tarvel_pid" || status=$?
pids=${pids/$tarvel_pid/}
[ "$status" = 0 ] || fail "the trainer ended with status $status"
echo "trainer on Xvfb: ok (trace checked: $traced)"
