#!/bin/sh
# Launch benchmark under Xvfb: for a minimal Qt Widgets program and for the
# real program with the about box at start-up off and on, measured in turn
# in the same run, the time from launch to the first frame (of the title
# room, for the program), the processor time the process used until then
# and the peak resident memory; prints the medians,
# the lowest..highest run, and the ratios of the medians to the minimal
# program's. The minimal program runs twice a round: at its own small window
# and at the size of the program's window (which opens at the largest whole
# scale the screen allows, 1100 x 910 on the default 1280 x 1024 screen), as
# filling and holding a window's pixels costs in proportion to its area.
# Usage: launch_bench.sh [BIN_DIR] [RUNS]   (BIN_DIR defaults to build/bin, RUNS to 15)
# SCREEN=WxH chooses the screen; VOREL_ARGS adds options to the program
# (for instance "--scale 1").
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="${1:-$root/build/bin}"
runs="${2:-15}"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 1; }
for f in vorel minimal_widgets vorel.zq5; do
  [ -e "$bin/$f" ] || { echo "missing $bin/$f (build first, with the data files)"; exit 1; }
done

. "$root/tests/shell/xvfb_common.sh"
xvfb_session "${SCREEN:-1280x1024}" || { echo "Xvfb did not start"; exit 1; }
export VOREL_REPORT_FIRST_FRAME=1

# One launch: prints "milliseconds-to-first-frame peak-kib processor-us
# window-size", the processor time being the process's own until its first
# frame (wall time on a shared machine includes waiting for a core).
measure() {
  fifo="$work/frame.$$"
  rm -f "$fifo"
  mkfifo "$fifo"
  start=$(date +%s%N)
  "$@" > "$fifo" 2>/dev/null &
  pid=$!
  # Waited for on a pipe, not by looking at a file again and again: the
  # looking's own processes would take turns on the cores with the launch.
  ( sleep 20; kill -TERM "$pid" 2>/dev/null ) &
  watchdog=$!
  exec 4< "$fifo"
  IFS= read -r line <&4 || line=""
  cat <&4 > /dev/null &   # whatever else it prints
  exec 4<&-
  kill "$watchdog" 2>/dev/null
  set -- $(echo "$line" | sed -n 's/^first-frame //p') "$1"
  sleep 0.3
  peak=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status" 2>/dev/null)
  kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  [ $# -ge 4 ] || { echo "no first frame from $1" >&2; exit 1; }
  echo "$(( ($1 - start) / 1000000 )) ${peak:-0} $3 $2"
}


# The runs alternate between the settings, so each launch writes its own. The
# function becomes the program (exec), so that its process is the one measured.
vorel_off() { xvfb_splash false; exec "$bin/vorel" ${VOREL_ARGS:-} "$@"; }
vorel_on() { xvfb_splash true; exec "$bin/vorel" ${VOREL_ARGS:-} "$@"; }

measure "$bin/minimal_widgets" > /dev/null   # warm the caches once
size=$(measure vorel_off | cut -d' ' -f4)    # and learn the program's window
: > "$work/base"; : > "$work/same"; : > "$work/off"; : > "$work/on"
run_one() {
  case $1 in
    base) measure "$bin/minimal_widgets" ;;
    same) measure "$bin/minimal_widgets" --size "$size" ;;
    off) measure vorel_off ;;
    on) measure vorel_on ;;
  esac >> "$work/$1"
}
# Each round runs them in a new random order: a launch goes faster or
# slower after a particular other one (the X server still tearing that one
# down), and no program should always follow the same one.
i=0
while [ $i -lt "$runs" ]; do
  for f in $(printf '%s\n' base same off on | shuf); do run_one "$f"; done
  i=$((i + 1))
done

# column N of a file, divided by DIV -> "median low..high"
stats() { cut -d' ' -f"$2" "$1" | sort -n | awk -v div="$3" '{ v[NR] = $1 / div }
  END { fmt = (div > 1) ? "%.1f %.1f..%.1f" : "%d %d..%d"; printf fmt, v[int((NR + 1) / 2)], v[1], v[NR] }'; }
ratio() { awk "BEGIN { printf \"%.2f\", $1 / ($2 > 0 ? $2 : 1) }"; }

base_size=$(cut -d' ' -f4 "$work/base" | head -n 1)
printf '%-34s %-20s %-21s %s\n' "" "first frame, ms" "peak resident, MiB" "processor to it, ms"
for f in base same off on; do
  case $f in
    base) label="minimal, $base_size" ;; same) label="minimal, $size" ;;
    off) label="vorel, about box off" ;; on) label="vorel, about box on" ;;
  esac
  set -- $(stats "$work/$f" 1 1) $(stats "$work/$f" 2 1024) $(stats "$work/$f" 3 1000)
  eval "${f}_ms=$1 ${f}_mib=$3 ${f}_cpu=$5"
  printf '%-34s %6s (%11s) %7s (%11s) %7s (%11s)\n' "$label" "$1" "$2" "$3" "$4" "$5" "$6"
done
for b in base same; do
  for f in off on; do
    eval "ms=\$${f}_ms mib=\$${f}_mib cpu=\$${f}_cpu bms=\$${b}_ms bmib=\$${b}_mib bcpu=\$${b}_cpu"
    [ $b = base ] && against=$base_size || against=$size
    printf '%-34s %14s x %20s x %20s x\n' "about box $f / minimal $against" "$(ratio "$ms" "$bms")" \
      "$(ratio "$mib" "$bmib")" "$(ratio "$cpu" "$bcpu")"
  done
done
# The same ratio round by round: the four launches of a round share the
# machine's mood, so the spread of these says how far one sitting can be trusted.
paired() { paste -d' ' "$work/$1" "$work/$2" | awk '{ print $1 / ($5 > 0 ? $5 : 1) }' | sort -n |
  awk '{ v[NR] = $1 } END { printf "%.2f x (middle half %.2f..%.2f)", v[int((NR + 1) / 2)], v[int((NR + 3) / 4)], v[int((3 * NR + 3) / 4)] }'; }
echo "first frame, the ratio within each round, median of the rounds:"
for b in base same; do
  for f in off on; do
    [ $b = base ] && against=$base_size || against=$size
    printf '  %-32s %s\n' "about box $f / minimal $against" "$(paired "$f" "$b")"
  done
done
echo "($runs runs each, in turn, medians (lowest..highest), one Xvfb of ${SCREEN:-1280x1024}; the program's"
echo " window was $size; the peak is read 0.3 s after the first frame; processor time is the process's"
echo " own until its first frame; the machine may be shared, so compare the ratios, not the milliseconds)"
