#!/bin/sh
# Launch benchmark under Xvfb: for a minimal Qt Widgets program and for the
# real program with the about box at start-up off and on, measured in turn
# in the same run, the time from launch to the first frame (of the title
# room, for the program) and the peak resident memory; prints the medians,
# the lowest..highest run, and the ratios of the medians to the minimal
# program's.
# Usage: launch_bench.sh [BIN_DIR] [RUNS]   (BIN_DIR defaults to build/bin, RUNS to 15)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="${1:-$root/build/bin}"
runs="${2:-15}"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 1; }
for f in vorel minimal_widgets vorel.zq5; do
  [ -e "$bin/$f" ] || { echo "missing $bin/$f (build first, with the data files)"; exit 1; }
done

. "$root/bench/shell/xvfb_session.sh"
export VOREL_REPORT_FIRST_FRAME=1

# Processor time (user + system) of every thread of a process so far, in
# microseconds: wall time on a shared machine includes waiting for a core.
cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d", ns / 1000 }'; }

# One launch: prints "milliseconds-to-first-frame peak-kib processor-us".
measure() {
  out="$work/out.$$"
  : > "$out"
  start=$(date +%s%N)
  "$1" > "$out" 2>/dev/null &
  pid=$!
  for _ in $(seq 200); do grep -q '^first-frame' "$out" && break; sleep 0.02; done
  frame=$(sed -n 's/^first-frame //p' "$out" | head -n 1)
  sleep 0.3
  peak=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status" 2>/dev/null)
  cpu=$(cpu_us "$pid")
  kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  [ -n "$frame" ] || { echo "no first frame from $1" >&2; exit 1; }
  echo "$(( (frame - start) / 1000000 )) ${peak:-0} ${cpu:-0}"
}


# The runs alternate between the settings, so each launch writes its own. The
# function becomes the program (exec), so that its process is the one measured.
vorel_off() { splash false; exec "$bin/vorel" "$@"; }
vorel_on() { splash true; exec "$bin/vorel" "$@"; }

measure "$bin/minimal_widgets" > /dev/null   # warm the caches once
measure vorel_off > /dev/null
: > "$work/base"; : > "$work/off"; : > "$work/on"
i=0
while [ $i -lt "$runs" ]; do
  measure "$bin/minimal_widgets" >> "$work/base"
  measure vorel_off >> "$work/off"
  measure vorel_on >> "$work/on"
  i=$((i + 1))
done

# column N of a file, divided by DIV -> "median low..high"
stats() { cut -d' ' -f"$2" "$1" | sort -n | awk -v div="$3" '{ v[NR] = $1 / div }
  END { fmt = (div > 1) ? "%.1f %.1f..%.1f" : "%d %d..%d"; printf fmt, v[int((NR + 1) / 2)], v[1], v[NR] }'; }
ratio() { awk "BEGIN { printf \"%.2f\", $1 / ($2 > 0 ? $2 : 1) }"; }

printf '%-24s %-20s %-21s %s\n' "" "first frame, ms" "peak resident, MiB" "processor, ms"
for f in base off on; do
  case $f in base) label="minimal Qt Widgets" ;; off) label="vorel, about box off" ;; on) label="vorel, about box on" ;; esac
  set -- $(stats "$work/$f" 1 1) $(stats "$work/$f" 2 1024) $(stats "$work/$f" 3 1000)
  eval "${f}_ms=$1 ${f}_mib=$3 ${f}_cpu=$5"
  printf '%-24s %6s (%11s) %7s (%11s) %7s (%11s)\n' "$label" "$1" "$2" "$3" "$4" "$5" "$6"
done
for f in off on; do
  eval "ms=\$${f}_ms mib=\$${f}_mib cpu=\$${f}_cpu"
  printf '%-24s %18s x %20s x %20s x\n' "ratio, about box $f" "$(ratio "$ms" "$base_ms")" \
    "$(ratio "$mib" "$base_mib")" "$(ratio "$cpu" "$base_cpu")"
done
echo "($runs runs each, in turn, medians (lowest..highest), one Xvfb; processor time is every"
echo " thread's user + system time until the peak is read, 0.3 s after the first frame; the machine"
echo " may be shared, so compare the ratios, not the milliseconds)"
