#!/usr/bin/env bash
# The laboratory clock under a held menu, seen from outside: it goes on
# counting where it is not hidden, and it never shows over the menu.
#
#   clock_test.sh TARVEL WORKDIR [plain|picom PROBE]
#
# The menu is first held in the training area, which has no clock, at the
# same point: its pixels there are the menu's, and the held laboratory menu
# must show every one of them while the clock changes around it. "picom"
# runs a compositor, which PROBE tells has started. Screenshots stay in
# WORKDIR.
set -euo pipefail

tarvel=$1
work=$2
desktop=${3:-plain}
probe=${4:-}
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

fail_label=$desktop fail_shows=("$work/tarvel.err")

start_xvfb || fail "Xvfb did not start"
if [ "$desktop" = picom ]; then
  picom --config /dev/null --backend xrender >"$work/picom.log" 2>&1 &
  pids="$! $pids"
  within 10 "$probe" compositor || fail "picom did not start"
fi
"$tarvel" >"$work/tarvel.out" 2>"$work/tarvel.err" &
pids="$! $pids"
within 30 find_trainer_window || fail "no Tarvel window of the trainer's size"

main_menu() { shot menu && [ "$(pixel menu $((vx + 590)) $((vy + 390)))" = "srgb(0,0,0)" ]; }
panel() { shot now && [ "$(pixel now $((vx + 300)) $((vy + 250)))" = "srgb(150,100,100)" ]; }
view="600x400+$vx+$vy"
# The clock counts at the panel's lower right; the rest stands still.
still="440x400+$vx+$vy"
differing() {
  compare -metric AE -crop "$view" "$work/$1.png" "$work/$2.png" null: 2>&1 || true
}
# Pressed where the menu's East item lies over the clock; once the menu is
# up, the pixel at the press point is the centre's, not the panel's.
px=$((vx + 425)) py=$((vy + 250))
press() {
  xdotool mousemove "$px" "$py" mousedown 1
  popped() { shot "$1" && [ "$(pixel "$1" "$px" "$py")" != "srgb(150,100,100)" ]; }
  within 10 popped "$1" || fail "no menu at the press point"
}
release() { xdotool mouseup 1; }

within 30 main_menu || fail "the main menu never came"
within 20 settled menu || fail "the main menu kept changing"
xdotool mousemove $((vx + 110)) $((vy + 120)) click 1
within 40 panel || fail "no training area"
within 20 settled training "$view" 4 || fail "the training area kept changing"
press menu.alone
release
# The menu's pixels: those it changed on the training screen.
convert "$work/training.png" "$work/menu.alone.png" -compose difference -composite \
  -crop "$view" +repage -threshold 0 "$work/menu.mask.png"
menu_pixels=$(convert "$work/menu.mask.png" -format "%[fx:int(mean*w*h+0.5)]" info:)
echo "menu pixels: $menu_pixels" >>"$log"
[ "$menu_pixels" -gt 1000 ] || fail "only $menu_pixels pixels of menu"

# Back to the main menu, into the laboratory.
xdotool mousemove $((vx + 570)) $((vy + 30))
back() {
  xdotool click 1
  within 3 main_menu
}
within 30 back || fail "no way back to the main menu"
within 20 settled menu || fail "the main menu kept changing"
xdotool mousemove $((vx + 110)) $((vy + 280)) click 1
within 40 panel || fail "no laboratory"
within 20 settled lab "$still" 4 || fail "the laboratory kept changing"
press held.1
# The menu as held in the training area, wherever it drew.
menu_as_alone() {
  convert "$work/$1.png" -crop "$view" +repage "$work/menu.mask.png" \
    -compose multiply -composite "$work/$1.menu.png"
  convert "$work/menu.alone.png" -crop "$view" +repage "$work/menu.mask.png" \
    -compose multiply -composite "$work/alone.menu.png"
  compare -metric AE "$work/$1.menu.png" "$work/alone.menu.png" null: 2>&1 || true
}
n=$(menu_as_alone held.1)
[ "$n" = 0 ] || fail "$n pixels of the held menu are not the menu's"
counting() { shot held.2 && [ "$(differing held.1 held.2)" != 0 ]; }
within 5 counting || fail "the clock stood still under the held menu"
n=$(menu_as_alone held.2)
[ "$n" = 0 ] || fail "$n pixels of the menu changed while the clock counted"
release
echo "clock under a held menu ($desktop): ok"
