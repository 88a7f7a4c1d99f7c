# Shared by the end-to-end tests and the session `make run` plays without a
# display: a private home, an Xvfb of their own found on a free display and
# stopped by PID, waits with deadlines, screenshots. XVFB_SCREEN gives
# another screen than 1280x1024x24.
# The sourcing script sets `work` first and may add PIDs to `pids`.

rm -rf "$work"
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
unset DISPLAY WAYLAND_DISPLAY

log="$work/test.log"
pids=""

stop_all() {
  for pid in $pids; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
trap stop_all EXIT

# Says why a test failed and ends it: the message, the test's log, and the
# last lines of each file in the array `fail_shows` (the sound library's
# chatter left out). `fail_label`, when set, says which variant failed.
fail_shows=()
fail() {
  echo "FAIL${fail_label:+ ($fail_label)}: $*" >&2
  echo "--- $log" >&2
  cat "$log" >&2 || true
  local file
  for file in "${fail_shows[@]}"; do
    echo "--- $(basename "$file")" >&2
    grep -v '^ALSA' "$file" 2>/dev/null | tail -n 30 >&2 || true
  done
  exit 1
}

# Runs a command until it succeeds; false after `seconds` (whole seconds),
# counted in microseconds: bash's SECONDS ticks once a second, so a deadline
# of one second in it may come at once.
now_us() { local t=${EPOCHREALTIME/[.,]/}; echo "$((10#$t))"; }
within() {
  local seconds=$1
  shift
  local deadline=$(($(now_us) + seconds * 1000000))
  until "$@"; do
    [ "$(now_us)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Xvfb picks a free display number itself and writes it down once it takes
# connections.
start_xvfb() {
  # -noreset: a client that checks the display and leaves must not make
  # the server start over while the next one connects.
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
  pids="$! $pids"
  within 10 test -s "$work/display" || return 1
  export DISPLAY=":$(head -n 1 "$work/display")"
  echo "display $DISPLAY" >>"$log"
}

shot() { import -window root "$work/$1.png"; }
pixel() { convert "$work/$1.png" -format "%[pixel:p{$2,$3}]" info:; }

# Screenshots in a row alike within the given crop geometry ("" for all of
# the screen), `times` of them (2 unless given), a quarter of a second or
# more apart: what is drawn there has stopped changing.
settled() {
  local name=$1 crop=${2:-} times=${3:-2} differ
  shot "$name.next"
  if [ -f "$work/$name.png" ]; then
    if [ -n "$crop" ]; then
      differ=$(compare -metric AE -crop "$crop" "$work/$name.png" "$work/$name.next.png" null: 2>&1 || true)
    else
      differ=$(compare -metric AE "$work/$name.png" "$work/$name.next.png" null: 2>&1 || true)
    fi
    if [ "$differ" = 0 ]; then
      echo x >>"$work/$name.same"
      if [ "$(wc -l <"$work/$name.same")" -ge $((times - 1)) ]; then
        rm -f "$work/$name.next.png" "$work/$name.same"
        return 0
      fi
    else
      rm -f "$work/$name.same"
    fi
  fi
  mv "$work/$name.next.png" "$work/$name.png"
  sleep 0.25
  return 1
}

# The trainer's main window once it is mapped at its full size: the frame
# holds the 600 x 400 view in a client edge of 2 pixels under its menu bar.
# Sets `window`, X, Y, WIDTH and HEIGHT, and vx, vy for the view.
find_trainer_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Tarvel$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
    if [ "${WIDTH:-0}" = 604 ] && [ "${HEIGHT:-0}" -gt 404 ]; then
      window=$id
      vx=$((X + 2)) vy=$((Y + HEIGHT - 402))
      return 0
    fi
  done
  return 1
}

# A mark drawn with the button held: pairs of x y, the first pressed on, the
# rest visited 10 ms apart. Like a person, it starts to move once the menu's
# overlay shows that the press was taken in; one xdotool process plays the
# moves, so their pace does not depend on how fast processes start.
# `mark_button` chooses another button than the left one; `mark_ready`
# another command that tells the press was taken in, or "true" for a
# program that reads its own events in order (menus in its window).
draw_mark() {
  local button=${mark_button:-1}
  xdotool mousemove "$1" "$2" mousedown "$button"
  shift 2
  if [ -n "${mark_ready:-}" ]; then
    within 10 $mark_ready || true
  else
    within 10 xdotool search --onlyvisible --name '^MenuBackground$' >/dev/null 2>&1 || true
  fi
  local args=()
  while [ $# -ge 2 ]; do
    args+=(mousemove "$1" "$2" sleep 0.01)
    shift 2
  done
  xdotool "${args[@]}" mouseup "$button"
}

# Talking to a probe started as `coproc PROBE { ... }`: `send` writes a
# line to it; `expect WORD [SECONDS]` reads its lines (10 s apart at most
# unless given) until one starts with WORD, whose fields land in `reply`.
send() { echo "$1" >&"${PROBE[1]}"; }
expect() {
  local word=$1 seconds=${2:-10} line
  while read -t "$seconds" -r line <&"${PROBE[0]}"; do
    echo "probe: $line" >>"$log"
    read -r -a reply <<<"$line"
    [ "${reply[0]}" = "$word" ] && return 0
  done
  fail "the probe never said '$word'"
}
