#!/bin/sh
# The window as a bare X server (no window manager) shows it: it opens sized
# to the largest whole scale of the block that fits the screen, or to the
# scale asked for, and F1 opens the instructions beside it where there is
# room. Exit 77 (skipped) when Xvfb, xdotool or the data files are missing.
# Usage: xvfb_window.sh BIN_DIR
set -u
bin="$1"
skip() { echo "SKIP: $1"; exit 77; }
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v xdotool >/dev/null || skip "xdotool is not installed"
[ -f "$bin/vorel.zq5" ] && [ -d "$bin/dat" ] || skip "the data files are not built ($bin/vorel.zq5, $bin/dat)"

# The block with its raised frame: 550 x 455 at scale 1.
block_w=550; block_h=455

. "$(dirname "$0")/xvfb_common.sh"
work=$(mktemp -d)
xvfb_fresh_home
xvfb_pid=""; vorel_pid=""
cleanup() { xvfb_stop_vorel; xvfb_stop; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $1"; [ -f "$work/vorel.log" ] && cat "$work/vorel.log"; exit 1; }

start_xvfb() { xvfb_start "$1" || fail "Xvfb did not start"; }
stop_vorel() { xvfb_stop_vorel; }

# Starts the program and sets $window to its main window's id.
start_vorel() {
  "$bin/vorel" "$@" >"$work/vorel.log" 2>&1 &
  vorel_pid=$!
  xvfb_wait_window || fail "no window appeared ($*)"
  sleep 0.5
}

# Sets x, y, w, h from xdotool's geometry of a window.
geometry() {
  eval "$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
  x=$X; y=$Y; w=$WIDTH; h=$HEIGHT
}

expect_size() { # SCREEN ARGS... ; checks against want_w, want_h
  geometry "$window"
  [ "$w" -eq "$want_w" ] && [ "$h" -eq "$want_h" ] ||
    fail "on $screen with '$*' the window is ${w}x${h}, not ${want_w}x${want_h}"
  echo "ok: $screen '$*' -> ${w}x${h} at $x,$y"
}

screen=1280x1024; start_xvfb $screen
start_vorel
want_w=$((block_w * 2)); want_h=$((block_h * 2)); expect_size
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ] ||
  fail "the window at $x,$y ${w}x${h} leaves the screen"
stop_vorel

start_vorel --scale 1
want_w=$block_w; want_h=$block_h; expect_size --scale 1
main_x=$x; main_y=$y; main_w=$w
xdotool windowfocus "$window" 2>/dev/null; xdotool key --window "$window" F1
sleep 0.5
help=$(xdotool search --onlyvisible --name "Instructions" 2>/dev/null | head -n 1)
[ -n "$help" ] || fail "F1 showed no instructions"
geometry "$help"
[ "$x" -ge $((main_x + main_w)) ] || [ $((x + w)) -le "$main_x" ] ||
  fail "the instructions at $x,$y ${w}x${h} lie over the window at $main_x,$main_y width $main_w"
echo "ok: instructions beside the window at $x,$y"
stop_vorel

screen=800x600; start_xvfb $screen
start_vorel
want_w=$block_w; want_h=$block_h; expect_size
stop_vorel
start_vorel --scale 2
want_w=$((block_w * 2)); want_h=$((block_h * 2)); expect_size --scale 2
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] || fail "a window larger than the screen put its top-left at $x,$y"
stop_vorel
echo "PASS"
