#!/bin/sh
# Smoke test of the real program under Xvfb: starts the window at scale 2,
# clicks a thumbnail and the picture, takes screenshots, ends the program
# with SIGTERM (which closes the window as the user would) and checks that
# the pictures were saved. Exit 77 (skipped) when Xvfb, xdotool or the
# program's data files are missing.
# Usage: xvfb_smoke.sh BIN_DIR SCREENSHOT_TOOL OUTPUT_DIR
set -u
bin="$1"; camera="$2"; out="$3"
skip() { echo "SKIP: $1"; exit 77; }
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v xdotool >/dev/null || skip "xdotool is not installed"
[ -f "$bin/vorel.zq5" ] && [ -d "$bin/dat" ] || skip "the data files are not built ($bin/vorel.zq5, $bin/dat)"

. "$(dirname "$0")/xvfb_common.sh"
fail() { echo "FAIL: $1"; [ -f "$work/vorel.log" ] && cat "$work/vorel.log"; exit 1; }
xvfb_session 1280x1024 || fail "Xvfb did not start"
mkdir -p "$out"

"$bin/vorel" >"$work/vorel.log" 2>&1 &
vorel_pid=$!
xvfb_wait_window || fail "no window appeared"

# Without a window manager nothing maximises: size the window so that the
# block shows at scale 2 (centred: play area at 88,83, thumbnail 1 at 78,761).
xdotool windowsize --sync "$window" 1200 1000 2>/dev/null || xdotool windowsize "$window" 1200 1000
sleep 1
"$camera" "$out/smoke-1-start.png" || fail "no screenshot"
title_before=$(xdotool getwindowname "$window")

xdotool mousemove 207 840 click 1
sleep 1
"$camera" "$out/smoke-2-picture1.png" || fail "no screenshot"
title_after=$(xdotool getwindowname "$window")
[ "$title_before" != "$title_after" ] || fail "the thumbnail click did not change the room (title \"$title_after\")"

xdotool mousemove 400 300 click 1
sleep 1
"$camera" "$out/smoke-3-filled.png" || fail "no screenshot"
kill -0 "$vorel_pid" 2>/dev/null || fail "the program ended"

xdotool windowfocus "$window" 2>/dev/null; xdotool key --window "$window" F1
sleep 0.5
"$camera" "$out/smoke-4-instructions.png" || fail "no screenshot"

# The grown-ups' menu on a right click over thumbnail 1.
xdotool mousemove 207 840 click 3
sleep 0.5
"$camera" "$out/smoke-5-grown-ups-menu.png" || fail "no screenshot"
xdotool key Escape
sleep 0.3

# A second start only asks the running one to come forward, and ends.
windows_before=$(xdotool search --onlyvisible --classname vorel 2>/dev/null | wc -l)
timeout 10 "$bin/vorel" >"$work/second.log" 2>&1
[ $? -eq 0 ] || fail "the second instance did not end cleanly"
windows_after=$(xdotool search --onlyvisible --classname vorel 2>/dev/null | wc -l)
[ "$windows_after" -eq "$windows_before" ] || fail "a second window appeared"
kill -0 "$vorel_pid" 2>/dev/null || fail "the first instance ended"

kill -TERM "$vorel_pid"
for _ in $(seq 100); do kill -0 "$vorel_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$vorel_pid" 2>/dev/null && fail "the program did not end on SIGTERM"
wait "$vorel_pid"; status=$?; vorel_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
save="$work/data/Tamblin Games/Vimo's Quilo Vorel/PYX_sg1.dat"
[ -s "$save" ] || fail "no saved game at $save"
# Bare Xvfb has no sound device: the toy plays on silently, without a word.
grep -i -E "audio|sound|pulse|alsa|multimedia" "$work/vorel.log" && fail "the program spoke of sound"
echo "PASS: titles \"$title_before\" -> \"$title_after\"; screenshots in $out"
