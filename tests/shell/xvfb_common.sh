# Shared by the scripts that run the real program on a bare X server
# (sourced, not run): the smoke tests, the benchmarks, the fuzz corpus. The
# caller sets $work to a temporary folder, or has xvfb_session make one.

# A whole session for a script: a temporary $work, an X server of
# WIDTHxHEIGHT and a fresh home; the program started as vorel_pid, the X
# server and $work go when the script ends. False when the X server fails.
# $work is in memory where the machine has /dev/shm, as a desktop session's
# runtime folder is: the single-instance lock written there is then not
# flushed to a disk at every start.
xvfb_session() {
  work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  trap 'xvfb_stop_vorel; xvfb_stop; rm -rf "$work"' EXIT
  xvfb_fresh_home
  xvfb_start "$1"
}

# A home of its own under $work: no saved games, no about box at start.
xvfb_fresh_home() {
  rm -rf "$work/config" "$work/data" "$work/runtime"
  mkdir -p "$work/config/KEL! Software" "$work/data" "$work/runtime"
  chmod 700 "$work/runtime"
  xvfb_splash false
  export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
}

# Whether the fresh home's program shows its about box at start (true or false).
xvfb_splash() {
  printf '[General]\nSplashScreen=%s\n' "$1" > "$work/config/KEL! Software/Vorel.conf"
}

# Starts Xvfb with a screen of WIDTHxHEIGHT on a free display (ending the one
# started before, if any), sets DISPLAY and xvfb_pid; false when it fails.
xvfb_start() {
  xvfb_stop
  rm -f "$work/display"
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || return 1
  export DISPLAY=":$(cat "$work/display")"
}

xvfb_stop() {
  [ -n "${xvfb_pid:-}" ] || return 0
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}

# Waits for the program's first visible window; sets window (empty when none came).
xvfb_wait_window() {
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --classname vorel 2>/dev/null | head -n 1)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  return 1
}

# Ends the program started as vorel_pid with SIGTERM, as a session end would.
xvfb_stop_vorel() {
  [ -n "${vorel_pid:-}" ] || return 0
  kill -TERM "$vorel_pid" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$vorel_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$vorel_pid" 2>/dev/null || true
  vorel_pid=""
}
