#!/usr/bin/env bash
# The drawing canvas example on its own Xvfb, used as a person would: a
# right-button mark, Colour then Blue, and a line drawn with the left
# button comes out blue. Screenshots stay in WORKDIR.
#
#   canvas_test.sh DRAWING_CANVAS WORKDIR
set -euo pipefail
canvas=$1
work=$2
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

fail_shows=("$work/canvas.err")

start_xvfb || fail "Xvfb did not start"
"$canvas" >"$work/canvas.out" 2>"$work/canvas.err" &
pids="$! $pids"
found() {
  local id
  id=$(xdotool search --onlyvisible --name '^Tarvel drawing canvas$' 2>/dev/null | head -n 1)
  [ -n "$id" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$WIDTH" = 640 ]
}
within 20 found || fail "no canvas window"
# A screenshot all in greys gives its pixels as gray(N).
white() {
  shot before || return 1
  case "$(pixel before $((X + 320)) $((Y + 240)))" in "srgb(255,255,255)" | "gray(255)") ;; *) return 1 ;; esac
}
within 20 white || fail "the canvas is not white"

# Colour is North, Blue the East of its submenu: up, then right.
cx=$((X + 320)) cy=$((Y + 300))
points=("$cx" "$cy")
for i in 1 2 3 4 5 6; do points+=("$cx" $((cy - 15 * i))); done
for i in 1 2 3 4 5 6; do points+=($((cx + 15 * i)) $((cy - 90))); done
mark_button=3 draw_mark "${points[@]}"
gone() { ! xdotool search --onlyvisible --name '^MenuBackground$' >/dev/null 2>&1; }
within 10 gone || fail "the menu's overlay stayed up"

# A line across the middle, with the left button.
y=$((Y + 200))
xdotool mousemove $((X + 100)) "$y" mousedown 1 mousemove $((X + 300)) "$y" \
  mousemove $((X + 540)) "$y" mouseup 1
blue() { shot line && [ "$(pixel line $((X + 320)) "$y")" = "srgb(30,60,220)" ]; }
within 10 blue || fail "the line is $(pixel line $((X + 320)) "$y"), not blue"
echo "drawing canvas: ok"
