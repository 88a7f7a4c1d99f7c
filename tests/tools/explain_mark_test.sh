#!/usr/bin/env bash
# explain_mark on three marks through the practice menu: a straight leg (no
# corner), a zig-zag with a rounded corner (its corners found at the bend),
# and a hooked leg read from a strokes.csv (the hook's corner near the end,
# the target from the trials.csv beside it); each draws a picture. A trial
# not in the file is said so, without a picture.
#
#   explain_mark_test.sh EXPLAIN_MARK WORKDIR
set -euo pipefail
explain=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs explain_mark; its text in $work/NAME.txt, its picture $work/NAME.png.
explain() {
  local name=$1
  shift
  "$explain" "$@" --out "$work/$name.png" >"$work/$name.txt" 2>"$work/$name.err" ||
    fail "$name: explain_mark failed: $(cat "$work/$name.err")"
  [ "$(head -c 4 "$work/$name.png" | tail -c 3)" = PNG ] || fail "$name: no PNG written"
}
corners() { grep -c '^corner ' "$work/$1.txt" || true; }
# Every corner within `near` pixels of (x, y).
corners_near() {
  awk -v x="$2" -v y="$3" -v near="$4" '/^corner / {
      if (($2 - x) ^ 2 + ($3 - y) ^ 2 > near ^ 2) bad = 1 }
    END { exit bad }' "$work/$1.txt"
}
says() { grep -qx "$2" "$work/$1.txt" || fail "$1: no line '$2' in: $(cat "$work/$1.txt")"; }

# Straight up 160 pixels, Food then Apple.
explain straight --points "$(for i in $(seq 0 16); do printf '0,%d;' $((-10 * i)); done)"
[ "$(corners straight)" = 0 ] || fail "straight: corners found on a straight leg"
says straight "standard: Food > Apple (0/0)"

# Right 90 pixels, a corner rounded over 12 pixels, then up 90: Tools, Saw.
zigzag=$(awk 'BEGIN {
  for (x = 0; x <= 78; x += 6) printf "%d,0;", x
  for (a = 1; a < 8; a++) { r = a / 8 * 1.5708; printf "%.1f,%.1f;", 78 + 12 * sin(r), -12 + 12 * cos(r) }
  for (y = 12; y <= 90; y += 6) printf "90,%d;", -y }')
explain zigzag --points "$zigzag"
[ "$(corners zigzag)" -ge 1 ] || fail "zigzag: no corner found"
corners_near zigzag 90 0 16 || fail "zigzag: a corner away from the bend: $(cat "$work/zigzag.txt")"
says zigzag "standard: Tools > Saw (2/0)"

# Right 160 pixels with a hook of 10 pixels down at the end: Tools, Hammer.
{
  echo "# tarvel 1.0; study trainer"
  echo "participant,condition,block,trial,t_ms,x,y"
  for i in $(seq 0 16); do echo "learner,training,1,7,$((12 * i)),$((10 * i)),0"; done
  echo "learner,training,1,7,210,164,5"
  echo "learner,training,1,7,220,166,10"
} >"$work/strokes.csv"
{
  echo "# tarvel 1.0; study trainer"
  echo "participant,study,condition,block,trial,practice,target_path,target_label,chosen_path,chosen_label,hit,by_mark,mark_ahead,back_ups,changes,target_shown_at,reaction_ms,selection_ms"
  echo "learner,trainer,training,1,7,0,2/2,Hammer,2/2,Hammer,1,1,0,0,0,2026-12-09T15:00:00.000Z,900,220"
} >"$work/trials.csv"
explain hooked --strokes "$work/strokes.csv" --trial 7
[ "$(corners hooked)" = 1 ] || fail "hooked: not one corner: $(cat "$work/hooked.txt")"
corners_near hooked 160 0 12 || fail "hooked: the corner is not at the hook: $(cat "$work/hooked.txt")"
says hooked "standard: Tools > Hammer (2/2)"
says hooked "target: Hammer (2/2)"

# A trial the file does not hold.
status=0
"$explain" --strokes "$work/strokes.csv" --trial 8 --out "$work/missing.png" 2>"$work/missing.err" || status=$?
[ "$status" = 1 ] || fail "missing trial: status $status"
grep -q "trial 8 is not in .*strokes.csv (its trials are numbered 7 to 7)" "$work/missing.err" ||
  fail "missing trial: $(cat "$work/missing.err")"
[ ! -e "$work/missing.png" ] || fail "missing trial: a picture was written"
echo "explain_mark: ok"
