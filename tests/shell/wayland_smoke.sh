#!/bin/sh
# The real program as a native Wayland client of Weston's headless
# compositor (kiosk shell: the window fills the output). It must show its
# window, take clicks that come through the compositor (a test module gives
# the headless back end a pointer and a keyboard), end on SIGTERM as at a session's end, and
# save what the clicks did: the first picture exported after the run differs
# from the one exported after an earlier run without clicks. The Caps Lock
# query, which only X11 answers, must stay quiet. Screenshots are taken with
# weston-screenshooter. Exit 77 (skipped) when Weston, its module, the Qt
# Wayland plugin or the data files are missing.
# Usage: wayland_smoke.sh BIN_DIR WESTON_MODULE QT_PLATFORM_PLUGIN_DIR OUTPUT_DIR
set -u
bin="$1"; module="$2"; plugins="$3"; out="$4"
skip() { echo "SKIP: $1"; exit 77; }
command -v weston >/dev/null || skip "weston is not installed"
command -v weston-screenshooter >/dev/null || skip "weston-screenshooter is not installed"
[ -f "$module" ] || skip "the Weston test module is not built (libweston-10-dev is missing)"
ls "$plugins"/libqwayland-*.so >/dev/null 2>&1 || skip "the Qt Wayland plugin is not installed (qt6-wayland)"
[ -f "$bin/vorel.zq5" ] && [ -d "$bin/dat" ] || skip "the data files are not built"

work=$(mktemp -d)
mkdir -p "$out" "$work/config/KEL! Software" "$work/data"
mkdir -m 700 "$work/runtime"
printf '[General]\nSplashScreen=false\n' >"$work/config/KEL! Software/Vorel.conf"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
unset DISPLAY QT_QPA_PLATFORM

weston_pid=""; vorel_pid=""
cleanup() {
  [ -n "$vorel_pid" ] && kill "$vorel_pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $1"
  for log in vorel.log weston.log; do [ -f "$work/$log" ] && { echo "--- $log"; cat "$work/$log"; }; done
  exit 1
}

mkfifo "$work/input"
exec 4<>"$work/input"
socket="vorel-test-$$"
VOREL_WESTON_INPUT="$work/input" weston --backend=headless-backend.so --use-pixman --width=1200 \
  --height=1000 --shell=kiosk-shell.so --socket="$socket" --no-config --debug --idle-time=0 \
  --modules="$module" --log="$work/weston.log" >/dev/null 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$socket" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not start"
export WAYLAND_DISPLAY="$socket"

# Starts the toy on Wayland and waits for its first painted frame.
# The log is emptied here, not by the redirection: the child may truncate it
# only after the first look below has seen the previous run's frame.
start() {
  : >"$work/vorel.log"
  QT_QPA_PLATFORM=wayland VOREL_REPORT_FIRST_FRAME=1 "$bin/vorel" --scale 2 >>"$work/vorel.log" 2>&1 &
  vorel_pid=$!
  for _ in $(seq 300); do grep -q '^first-frame' "$work/vorel.log" && break; sleep 0.1; done
  grep -q '^first-frame' "$work/vorel.log" || fail "no window appeared on Wayland"
}
# Ends the toy as at a session's end; it must close saving.
stop() {
  kill -TERM "$vorel_pid"
  wait "$vorel_pid"; status=$?; vorel_pid=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  [ -s "$work/data/Tamblin Games/Vimo's Quilo Vorel/PYX_sg1.dat" ] || fail "no saved game"
  # Only Wayland's own notices may appear: no errors, nothing about X11.
  if grep -v -e '^first-frame' -e '^qt\.qpa\.wayland' "$work/vorel.log" | grep -q .; then
    fail "the program reported problems on Wayland"
  fi
}
shoot() {
  (cd "$work" && rm -f wayland-screenshot-*.png && timeout 10 weston-screenshooter) || fail "no screenshot"
  mv "$work"/wayland-screenshot-*.png "$out/$1" || fail "no screenshot file"
}
click() { printf 'move %s %s\n' "$1" "$2" >&4; sleep 0.2; echo down >&4; sleep 0.1; echo up >&4; sleep 1; }
export_first() {
  QT_QPA_PLATFORM=offscreen "$bin/vorel" --export "$work/$1" >/dev/null 2>&1 || fail "export failed"
}

# A run without clicks gives the pictures to compare with.
start
sleep 1
stop
export_first before

# The window fills the 1200 x 1000 output, so the block at scale 2 lies as in
# the X11 smoke test: thumbnail 1 at 78,761, the play area at 88,83; 520,150
# is open sky in the first background.
start
sleep 1
shoot wayland-1-start.png
click 207 840
click 520 150
shoot wayland-2-filled.png
# Caps Lock through the compositor: the toy keeps its own count of the key.
printf 'key 58\n' >&4
sleep 0.5
kill -0 "$vorel_pid" 2>/dev/null || fail "the program ended"
stop
export_first after
cmp -s "$work/before/picture1.png" "$work/after/picture1.png" && fail "the click on the picture changed nothing"
echo "PASS: started on Wayland, clicked, closed saving; screenshots in $out"
