#!/usr/bin/env bash
# Selections over a composited X desktop, seen from outside: picom on Xvfb,
# a window beneath that changes every frame, screenshots by another process.
#
#   live_overlay_test.sh PROBE WORKDIR [plain|fading]
#
# With the menu held over the edge of the changing part: the menu stays the
# same from one screenshot to the next, opaque, while the changing part
# beside it goes on changing; the rest of the screen is as it was before
# the press, so nothing is blacked out or frozen; right after the release
# the menu is gone. "fading" runs picom with --fading --shadow, where the
# menu must also be opaque in the first screenshot after it pops up.
# Screenshots stay in WORKDIR.
set -euo pipefail

probe=$1
work=$2
style=${3:-plain}

source "$(dirname "$0")/../../scripts/xvfb-session.sh"

fail_label=$style fail_shows=("$work/probe.err")

start_xvfb || fail "Xvfb did not start"

picom_args=(--config /dev/null --backend xrender)
[ "$style" = fading ] && picom_args+=(--fading --shadow)
picom "${picom_args[@]}" >"$work/picom.log" 2>&1 &
pids="$! $pids"
within 10 "$probe" compositor || fail "picom did not start"

# The window beneath; its middle half changes every frame.
wx=140 wy=112 ww=1000 wh=800
bx=$((wx + ww / 4)) by=$((wy + wh / 4)) bw=$((ww / 2)) bh=$((wh / 2))
"$probe" animate "$wx" "$wy" "$ww" "$wh" >"$work/animate.out" 2>"$work/animate.err" &
pids="$! $pids"
within 10 grep -q shown "$work/animate.out" || fail "the window beneath never showed"

coproc PROBE { exec "$probe" 2>"$work/probe.err"; }
pids="$PROBE_PID $pids"

# Pixels that differ between two screenshots outside the changing box and
# the rectangle "L,T R,B" given third, if any.
masked() {
  local draw=(-draw "rectangle $bx,$by $((bx + bw - 1)),$((by + bh - 1))")
  [ -n "$2" ] && draw+=(-draw "rectangle $2")
  convert "$work/$1.png" -fill black "${draw[@]}" "$work/$1.masked.png"
}
differing_still() {
  masked "$1" "${3:-}"
  masked "$2" "${3:-}"
  compare -metric AE "$work/$1.masked.png" "$work/$2.masked.png" null: 2>&1 || true
}
differing_in() {
  compare -metric AE -extract "$3" "$work/$1.png" "$work/$2.png" null: 2>&1 || true
}
crop() { echo "$(($3 - $1 + 1))x$(($4 - $2 + 1))+$1+$2"; }

# Once the window manager's and the compositor's fades are over, the still
# part of the screen stops changing.
shot before
stable_before() {
  shot before.next
  [ "$(differing_still before before.next)" = 0 ] && return 0
  mv "$work/before.next.png" "$work/before.png"
  sleep 0.2
  return 1
}
within 10 stable_before || fail "the screen never settled"

# Pressed on the left edge of the changing box: half of the menu lies over
# still pixels, half over changing ones.
px=$bx py=$((by + bh / 2))
# The East item in two screenshots in a row is the same.
east_opaque() { shot "$name.1" && shot "$name.2" && [ "$(differing_in "$name.1" "$name.2" "$east")" = 0 ]; }
select_once() {
  local name=$1
  send "press $px $py"
  expect opened
  [ "${reply[1]}" = live ] || fail "the overlay is a copy of the screen under picom"
  echo "opened in ${reply[2]} us" >>"$log"
  expect menu
  read -r _ ml mt mr mb el et er eb <<<"${reply[*]}"
  menu=$(crop "$ml" "$mt" "$mr" "$mb")
  # The East item lies over the changing box: see-through, it would change.
  east=$(crop "$el" "$et" "$er" "$eb")
  east_opaque ||
    fail "$name: the East item changes between screenshots: $(differing_in "$name.1" "$name.2" "$east") pixels"
  [ "$(differing_in before "$name.1" "$menu")" != 0 ] || fail "$name: no menu on the screen"
  local beside
  beside=$(crop $((mr + 1)) "$by" $((bx + bw - 1)) $((by + bh - 1)))
  [ "$(differing_in "$name.1" "$name.2" "$beside")" != 0 ] ||
    fail "$name: the window beside the menu is frozen"
  [ "$(differing_still before "$name.2" "$ml,$mt $mr,$mb")" = 0 ] ||
    fail "$name: $(differing_still before "$name.2" "$ml,$mt $mr,$mb") pixels of the still screen changed around a held menu"
  send release
  expect released
  [ "${reply[1]} ${reply[2]}" = "1 0" ] || fail "$name: released without moving, yet ${reply[*]}"
  # The compositor shows the cleared overlay with its next frame or two,
  # later on a loaded machine.
  restored() { shot "$name.after" && [ "$(differing_still before "$name.after")" = 0 ]; }
  within 2 restored ||
    fail "$name: $(differing_still before "$name.after") pixels still differ two seconds after the release"
}

# The overlay's window is mapped, clear, when the program starts, and stays
# mapped: a compositor's fade-in of it is over (a second at most) before
# anyone presses, and no selection maps it again. Between selections it is
# one pixel, which the compositor has next to nothing to blend.
expect ready
overlay_mapped() { xdotool search --onlyvisible --name '^MenuBackground$' >/dev/null 2>&1; }
within 10 overlay_mapped || fail "the overlay's window was not readied"
overlay_size() {
  local id
  id=$(xdotool search --onlyvisible --name '^MenuBackground$' | head -n 1)
  xwininfo -id "$id" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}
idle_size() {
  [ "$(overlay_size)" = 1x1 ] ||
    fail "$1: the overlay's window is $(overlay_size) between selections"
}
idle_size "at start"
sleep 1
select_once first
idle_size "after the first selection"
# Found by its own name and class, never as the application.
xwininfo -root -children | grep -q '"MenuBackground": ("MMenu" "MMenu")' ||
  fail "no overlay window titled MenuBackground of class MMenu"
select_once second
idle_size "after the second selection"

send quit
wait "$PROBE_PID" || fail "the probe exited with $?"
echo "live overlay under picom ($style): ok"
