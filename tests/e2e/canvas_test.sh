#!/usr/bin/env bash
# The drawing canvas example used as a person would, on one of three
# desktops:
#   overlay    on its own Xvfb, the menu on the desktop overlay (the default
#              on X11);
#   overlay-fading  the same under picom with fading: the overlay is readied
#              as the program starts, so the first menu shows whole at once;
#   in-window  on its own Xvfb, the menu inside the canvas's window
#              (TARVEL_MENU_PATH=in-window);
#   wayland    a native Wayland client of weston (kiosk shell, one output
#              in a window of its own Xvfb), where the menu can only be
#              drawn inside the program's window. weston takes its input
#              from that window, so xdotool reaches the program through it.
# A right press held still shows the menu and, released where it was
# pressed, selects nothing; a right-button mark, Colour then Blue, makes the
# next line drawn with the left button blue. Screenshots stay in WORKDIR.
#
#   canvas_test.sh DRAWING_CANVAS WORKDIR [overlay|overlay-fading|in-window|wayland]
set -euo pipefail
canvas=$1
work=$2
mode=${3:-overlay}
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

fail_label=$mode
fail_shows=("$work/canvas.err" "$work/weston.log")

start_xvfb || fail "Xvfb did not start"
case $mode in
  overlay) ;;
  overlay-fading)
    picom --config /dev/null --backend xrender --fading --shadow >"$work/picom.log" 2>&1 &
    pids="$! $pids"
    compositing() { xwininfo -root -children 2>/dev/null | grep -q '"picom": ("picom"'; }
    within 10 compositing || fail "picom did not start"
    ;;
  in-window) export TARVEL_MENU_PATH=in-window ;;
  wayland)
    weston --backend=x11-backend.so --use-pixman --shell=kiosk-shell.so \
      --width=800 --height=600 --socket=tarvel-canvas \
      --log="$work/weston.log" >"$work/weston.out" 2>&1 &
    pids="$! $pids"
    within 20 test -S "$XDG_RUNTIME_DIR/tarvel-canvas" || fail "weston did not start"
    export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=tarvel-canvas
    ;;
  *) fail "no such way to show the menu: $mode" ;;
esac

# Every selection traced, to be compared with the other desktops' traces.
export TARVEL_TRACE_DIR="$work/trace"
mkdir -p "$TARVEL_TRACE_DIR"
"$canvas" >"$work/canvas.out" 2>"$work/canvas.err" &
pids="$! $pids"
if [ "$mode" = wayland ]; then
  # The kiosk shell gives the canvas the whole output, at the host's 0, 0.
  found() {
    local id
    id=$(xwininfo -root -children 2>/dev/null | awk '/"Weston Compositor - screen0"/ { print $1; exit }')
    [ -n "$id" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$id")"
  }
  W=800 H=600
else
  found() {
    local id
    id=$(xdotool search --onlyvisible --name '^Tarvel drawing canvas$' 2>/dev/null | head -n 1)
    [ -n "$id" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$WIDTH" = 640 ]
  }
  W=640 H=480
fi
within 20 found || fail "no canvas window"
is_white() {
  case "$(pixel "$1" "$2" "$3")" in "srgb(255,255,255)" | "gray(255)") ;; *) return 1 ;; esac
}
white() { shot before && is_white before $((X + W / 2)) $((Y + H / 2)); }
within 20 white || fail "the canvas is not white"
readied() {
  local id
  id=$(xdotool search --onlyvisible --name '^MenuBackground$' 2>/dev/null | head -n 1)
  [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Width: 1$'
}
if [ "$mode" = overlay-fading ]; then
  within 10 readied || fail "the overlay was not readied, one pixel, as the program started"
  sleep 1 # picom's fade-in of it, a second at most, is over before anyone presses
fi

overlay_up() { xdotool search --onlyvisible --name '^MenuBackground$' >/dev/null 2>&1; }
# Pixels of the area round (x, y) that are not white.
drawn_near() {
  local name=$1 x=$2 y=$3
  printf '%.0f' "$(convert "$work/$name.png" -crop "200x200+$((x - 100))+$((y - 100))" \
    -fill black +opaque white -fill white -opaque white -negate -format "%[fx:mean*w*h]" info:)"
}

# Held still, the menu comes up round the press; released there, nothing.
cx=$((X + W / 2)) cy=$((Y + H / 2 + 60))
xdotool mousemove "$cx" "$cy" mousedown 3
menu_shown() { shot held && [ "$(drawn_near held "$cx" "$cy")" -gt 500 ]; }
within 10 menu_shown || { xdotool mouseup 3; fail "no menu round the held press"; }
# Shown whole at once: the first picture of it is the last.
crop="200x200+$((cx - 100))+$((cy - 100))"
within 10 settled held-late "$crop" 3 || fail "the held menu never settled"
[ "$(compare -metric AE -crop "$crop" "$work/held.png" "$work/held-late.png" null: 2>&1 || true)" = 0 ] ||
  fail "the first menu faded in: its first picture differs from its last"
case $mode in
  overlay*) overlay_up || fail "the menu is not on the desktop overlay" ;;
  *) ! overlay_up || fail "a desktop overlay is up for a menu in the window" ;;
esac
# Then out of the way: weston draws the pointer into its output.
xdotool mouseup 3 mousemove $((X + 5)) $((Y + 5))
menu_gone() { shot released && [ "$(drawn_near released "$cx" "$cy")" -eq 0 ]; }
within 10 menu_gone || fail "the menu stayed after the release"

# Colour is North, Blue the East of its submenu: up, then right.
points=("$cx" "$cy")
for i in 1 2 3 4 5 6; do points+=("$cx" $((cy - 15 * i))); done
for i in 1 2 3 4 5 6; do points+=($((cx + 15 * i)) $((cy - 90))); done
if [ "$mode" != in-window ] && [ "$mode" != wayland ]; then
  mark_button=3 draw_mark "${points[@]}"
else
  mark_button=3 mark_ready=true draw_mark "${points[@]}"
fi
# Over a compositor the overlay stays mapped between menus, one pixel big.
idle() { if [ "$mode" = overlay-fading ]; then readied; else ! overlay_up; fi; }
within 10 idle || fail "the menu's overlay stayed up"

# A line across the middle, with the left button.
y=$((Y + H / 2 - 40))
xdotool mousemove $((X + 100)) "$y" mousedown 1 mousemove $((X + W / 2 - 20)) "$y" \
  mousemove $((X + W - 100)) "$y" mouseup 1
blue() { shot line && [ "$(pixel line $((X + W / 2)) "$y")" = "srgb(30,60,220)" ]; }
within 10 blue || fail "the line is $(pixel line $((X + W / 2)) "$y"), not blue"
# The trace says the same on every desktop: the held menu (M) chose
# nothing, and the mark (m) chose Colour, then Blue.
traced=$(awk '{ print $2, $4 }' "$TARVEL_TRACE_DIR/user.trc" | tr '\n' ';')
echo "trace: $traced" >>"$log"
[ "$traced" = "M 0;m 13;" ] || fail "the trace says $traced"
echo "drawing canvas ($mode): ok"
