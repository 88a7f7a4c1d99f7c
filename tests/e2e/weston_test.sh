#!/usr/bin/env bash
# Selections on a Wayland desktop through XWayland: weston with two outputs
# inside Xvfb, screenshots taken from the host Xvfb (XWayland's root gives
# none). The probe presses where it is told, as no injected input reaches an
# XWayland client.
#
#   weston_test.sh PROBE WORKDIR
#
# A press in the middle of the second output opens a live overlay and pops
# the menu up centred there; the screen is never blacked out while it is
# held; a release where it was pressed selects nothing. Screenshots stay in
# WORKDIR.
set -euo pipefail

# Weston 10 takes no display number for its XWayland: it takes the lowest
# one whose lock file /tmp/.XN-lock it can create and whose abstract socket
# @/tmp/.X11-unix/XN it can bind, deletes whatever socket file is in its
# way, and takes the lock of a server whose process it cannot see (another
# PID namespace) for a stale one. On a machine where other X servers come
# and go it can take one of theirs, or make one that starts at that moment
# fail. So the test runs where it is alone: in user, mount and network
# namespaces of its own, with a /tmp of its own, where the number is chosen
# here and nobody else can take it meanwhile.
# Folders of the host's /tmp that the test's own paths lie in (a checkout or
# build under /tmp) are bound into the new /tmp, so that it still finds
# itself, its probe and its work folder.
if [ -z "${TARVEL_OWN_X_NAMESPACE:-}" ] && unshare -Urnm true 2>/dev/null; then
  keep=""
  for path in "$(cd "$(dirname "$0")" && pwd)" "$@"; do
    case $path in /tmp/?*) keep="$keep $(echo "$path" | cut -d/ -f3)" ;; esac
  done
  exec env TARVEL_OWN_X_NAMESPACE=1 TARVEL_KEEP_TMP="$keep" unshare -Urnm bash -c '
    set -e
    # One fixed mount point: each test binds it in a namespace of its own.
    host=/dev/shm/tarvel-host-tmp
    mkdir -p "$host"
    mount --rbind /tmp "$host"
    mount -t tmpfs -o mode=1777 tmpfs /tmp
    for top in $TARVEL_KEEP_TMP; do
      mkdir -p "/tmp/$top"
      mount --rbind "$host/$top" "/tmp/$top"
    done
    exec bash "$0" "$@"' "$(cd "$(dirname "$0")" && pwd)/$(basename "$0")" "$@"
fi

probe=$1
work=$2
ow=1024 oh=768
export XVFB_SCREEN="$((2 * ow))x${oh}x24"

source "$(dirname "$0")/../../scripts/xvfb-session.sh"

fail_label=weston fail_shows=("$work/weston.log" "$work/probe.err")

start_xvfb || fail "Xvfb did not start"
# The first number no X server holds, by lock file or socket: weston takes
# it, alone here, and is checked to have done so.
free_display() {
  local n=0
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo ":$n"
}
if [ -n "${TARVEL_OWN_X_NAMESPACE:-}" ]; then
  xw=$(free_display)
  echo "XWayland to be $xw, in namespaces of the test's own" >>"$log"
else
  xw=""
  echo "no namespaces of its own: XWayland's display is weston's choice" >>"$log"
fi
weston --backend=x11-backend.so --use-pixman --output-count=2 \
  --width="$ow" --height="$oh" --xwayland --log="$work/weston.log" \
  >"$work/weston.out" 2>&1 &
pids="$! $pids"
xwayland_display() { grep -q "xserver listening on display" "$work/weston.log" 2>/dev/null; }
within 30 xwayland_display || fail "weston started no XWayland"
taken=$(grep -o "xserver listening on display :[0-9]*" "$work/weston.log" | head -n 1 | grep -o ":[0-9]*$")
[ -z "$xw" ] || [ "$taken" = "$xw" ] || fail "weston gave XWayland $taken, not $xw"
xw=$taken
echo "XWayland on $xw" >>"$log"

# Both outputs open at the host's (0, 0): the second goes to the right.
second_output() {
  xwininfo -root -children 2>/dev/null | awk '/"Weston Compositor - screen1"/ { print $1; exit }'
}
has_second_output() { [ -n "$(second_output)" ]; }
within 10 has_second_output || fail "no window for weston's second output"
xdotool windowmove "$(second_output)" "$ow" 0

# XWayland shows an overlay only once an ordinary window of its is up.
DISPLAY=$xw "$probe" animate 100 100 400 300 >"$work/animate.out" 2>"$work/animate.err" &
pids="$! $pids"
within 20 grep -q shown "$work/animate.out" || fail "no window showed on XWayland"

# Pixels that are black.
black() {
  printf '%.0f' "$(convert "$work/$1.png" -fill white +opaque black -negate -format "%[fx:mean*w*h]" info:)"
}
# The window on the first output changes all the time; the second settles.
within 10 settled before "${ow}x${oh}+${ow}+0" || fail "the screen never settled"
[ "$(black before)" -lt $((2 * ow * oh)) ] || fail "weston's outputs are all black"

coproc PROBE { DISPLAY=$xw exec "$probe" 2>"$work/probe.err"; }
pids="$PROBE_PID $pids"

px=$((ow + ow / 2)) py=$((oh / 2))
send "press $px $py"
expect opened 20
[ "${reply[1]}" = live ] || fail "the overlay is a copy of the screen under XWayland"
echo "opened in ${reply[2]} us" >>"$log"
expect menu 20
read -r _ ml mt mr mb _ <<<"${reply[*]}"
# The compositor shows the menu a frame or more after it was drawn.
menu_shown() {
  shot held &&
    [ "$(compare -metric AE -extract "$((mr - ml + 1))x$((mb - mt + 1))+$ml+$mt" "$work/before.png" "$work/held.png" null: 2>&1 || true)" != 0 ]
}
within 10 menu_shown || fail "no menu on the screen"
# White where black: black pixels are counted; the menu's own outlines
# are few beside a blacked-out screen.
[ "$(black held)" -le $(($(black before) + (mr - ml + 1) * (mb - mt + 1))) ] ||
  fail "the screen went black under a held menu: $(black held) black pixels, $(black before) before"
[ "$ml" -ge "$ow" ] || fail "the menu ($ml..$mr) is not on the second output"
[ $(((ml + mr) / 2 - px)) -ge -2 ] && [ $(((ml + mr) / 2 - px)) -le 2 ] &&
  [ $(((mt + mb) / 2 - py)) -ge -2 ] && [ $(((mt + mb) / 2 - py)) -le 2 ] ||
  fail "the menu ($ml,$mt $mr,$mb) is not centred at the press ($px, $py)"
send release
expect released 20
[ "${reply[1]} ${reply[2]}" = "1 0" ] || fail "released without moving, yet ${reply[*]}"
send quit
wait "$PROBE_PID" || fail "the probe exited with $?"
echo "live overlay on weston with XWayland: ok"
