#!/usr/bin/env bash
# The desktop overlay on a real X server, seen from outside as a person would
# see it: screenshots by another process, the real pointer moved and clicked
# with xdotool. Runs on its own Xvfb, optionally under a window manager.
#
#   overlay_test.sh PROBE WORKDIR [none|openbox]
#
# Checks that the overlay first shows the screen exactly as it was, then the
# probe's rectangle and its "clock" picture while the probe polls without
# dispatching events; that the probe's polling sees the button and where the
# pointer is; that the click lands in the window beneath the overlay; and that
# after mShutdown the screen is exactly as before. Screenshots stay in WORKDIR.
set -euo pipefail

probe=$1
work=$2
wm=${3:-none}

source "$(dirname "$0")/../../scripts/xvfb-session.sh"
wm_pid="" probe_pid=""

fail_label=$wm fail_shows=("$work/probe.err")

start_xvfb || fail "Xvfb did not start"

if [ "$wm" = openbox ]; then
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  pids="$wm_pid $pids"
  wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  within 10 wm_running || fail "openbox did not start"
fi

coproc PROBE { exec "$probe" 2>"$work/probe.err"; }
probe_pid=$PROBE_PID
pids="$probe_pid $pids"



differing() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true; }
expect_pixel() {
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$1.png at ($2, $3) is $got, not $4"
}

# Two shots in a row alike: the window manager and the probe are done
# drawing.
settled() {
  shot "$1"
  [ -f "$work/$1.previous.png" ] &&
    [ "$(compare -metric AE "$work/$1.png" "$work/$1.previous.png" null: 2>&1 || true)" = 0 ] && return 0
  mv "$work/$1.png" "$work/$1.previous.png"
  return 1
}
same_as_before() {
  shot after
  [ "$(differing before after)" = 0 ]
}

expect shown
read -r _ wx wy ww wh <<<"${reply[*]}"
[ "$ww" = 400 ] && [ "$wh" = 300 ] || fail "the probe's window is ${ww}x$wh"

send info
expect info
[ "${reply[1]}" = "0,1279,0,1023" ] || fail "desktop rectangle ${reply[1]}"
[ "${reply[2]}" -gt 0 ] || fail "menu font of ${reply[2]} pixels"
[ "${reply[3]}" != "${reply[4]}" ] || fail "menu text in the menu's colour"

within 5 settled before || fail "the screen never settled"

send open
expect opened
shot opened
[ "$(differing before opened)" = 0 ] ||
  fail "the new overlay does not show the screen as it was: $(differing before opened) pixels differ"

send draw
expect drawn
read -r _ left top right bottom <<<"${reply[*]}"
shot drawn
green="srgb(32,192,64)"
expect_pixel drawn $(((left + right) / 2)) $(((top + bottom) / 2)) "$green"
expect_pixel drawn "$left" "$top" "$green"
expect_pixel drawn "$right" "$bottom" "$green"
expect_pixel drawn $((right + 1)) $((bottom + 1)) "$(pixel before $((right + 1)) $((bottom + 1)))"
expect_pixel drawn $((wx + 320)) $((wy + 210)) "srgb(250,220,0)"

# Into the window, through the overlay and the rectangle on it.
cx=$((wx + 100)) cy=$((wy + 80))
xdotool mousemove "$cx" "$cy" mousedown 1
expect button
[ "${reply[1]} ${reply[2]}" = "$cx $cy" ] ||
  fail "polling saw the button at ${reply[1]},${reply[2]}, not $cx,$cy"
xdotool mouseup 1
xdotool keydown Escape
expect loop-done
xdotool keyup Escape
expect closed

send clicks
expect clicks
[ "${reply[1]}" -ge 1 ] || fail "the click did not reach the window beneath"
[ "${reply[2]} ${reply[3]}" = "100 80" ] ||
  fail "the window got the click at ${reply[2]},${reply[3]}, not 100,80"

within 5 same_as_before ||
  fail "after mShutdown $(differing before after) pixels differ from before"

send quit
wait "$probe_pid" || fail "the probe exited with $?"
probe_pid=""
echo "overlay on Xvfb ($wm): ok"
