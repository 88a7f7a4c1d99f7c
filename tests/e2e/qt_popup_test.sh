#!/usr/bin/env bash
# The Qt layer's example on its own Xvfb, used as a person would: a held
# right button shows the menu inside the window, with no overlay over the
# desktop; a right-button mark chooses, the menu's pixels go and the
# window's text changes. Screenshots stay in WORKDIR.
#
#   qt_popup_test.sh QT_POPUP WORKDIR
set -euo pipefail
program=$1
work=$2
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

fail_shows=("$work/qt_popup.err")

start_xvfb || fail "Xvfb did not start"
"$program" >"$work/qt_popup.out" 2>"$work/qt_popup.err" &
pids="$! $pids"
found() {
  local id
  id=$(xdotool search --onlyvisible --class '^qt_popup$' 2>/dev/null | head -n 1)
  [ -n "$id" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$WIDTH" = 480 ] && [ "$HEIGHT" = 360 ]
}
within 20 found || fail "no window"
# Pressed low in the window, away from its text across the middle.
px=$((X + 150)) py=$((Y + 280))
around="200x120+$((px - 100))+$((py - 60))"
text="400x30+$((X + 40))+$((Y + 165))"
differ() { compare -metric AE -crop "$1" "$work/$2.png" "$work/$3.png" null: 2>&1 || true; }
within 20 settled before "" 3 || fail "the window never settled"

xdotool mousemove "$px" "$py" mousedown 3
menu_up() { shot held && [ "$(differ "$around" before held)" != 0 ]; }
within 5 menu_up || fail "no menu in the window while the button is held"
if xdotool search --onlyvisible --name '^MenuBackground$' >/dev/null 2>&1; then
  fail "an overlay went up over the desktop"
fi
xdotool mouseup 3  # released in the centre: nothing chosen
within 5 settled released "$around" || fail "the window never settled"
[ "$(differ "$around" before released)" = 0 ] || fail "the menu stayed in the window"

# Clear is the third item: east, a straight mark.
points=("$px" "$py")
for i in 1 2 3 4 5 6; do points+=($((px + 15 * i)) "$py"); done
xdotool mousemove "$px" "$py" mousedown 3
args=()
set -- "${points[@]:2}"
while [ $# -ge 2 ]; do
  args+=(mousemove "$1" "$2" sleep 0.01)
  shift 2
done
xdotool "${args[@]}" mouseup 3
within 5 settled marked "" || fail "the window never settled"
[ "$(differ "$around" before marked)" = 0 ] || fail "the mark's ink stayed"
[ "$(differ "$text" released marked)" != 0 ] || fail "the mark chose nothing"
echo "qt popup: ok"
