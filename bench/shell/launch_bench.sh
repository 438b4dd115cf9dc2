#!/bin/sh
# Launch benchmark under Xvfb: for the real program and for a minimal Qt
# Widgets program, measured alternately in the same run, the time from
# launch to the first frame (of the title room, for the program) and the
# peak resident memory; prints the medians and their ratios.
# Usage: launch_bench.sh [BIN_DIR] [RUNS]     (BIN_DIR defaults to build/bin)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="${1:-$root/build/bin}"
runs="${2:-7}"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 1; }
for f in vorel minimal_widgets vorel.zq5; do
  [ -e "$bin/$f" ] || { echo "missing $bin/$f (build first, with the data files)"; exit 1; }
done

work=$(mktemp -d)
mkdir -p "$work/config/KEL! Software" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
printf '[General]\nSplashScreen=false\n' > "$work/config/KEL! Software/Vorel.conf"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export VOREL_REPORT_FIRST_FRAME=1
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# One launch: prints "milliseconds-to-first-frame peak-kib".
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
  kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  [ -n "$frame" ] || { echo "no first frame from $1" >&2; exit 1; }
  echo "$(( (frame - start) / 1000000 )) ${peak:-0}"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure "$bin/minimal_widgets" > /dev/null   # warm the caches once
measure "$bin/vorel" > /dev/null
: > "$work/base"; : > "$work/prog"
i=0
while [ $i -lt "$runs" ]; do
  measure "$bin/minimal_widgets" >> "$work/base"
  measure "$bin/vorel" >> "$work/prog"
  i=$((i + 1))
done

base_ms=$(cut -d' ' -f1 "$work/base" | median); prog_ms=$(cut -d' ' -f1 "$work/prog" | median)
base_kib=$(cut -d' ' -f2 "$work/base" | median); prog_kib=$(cut -d' ' -f2 "$work/prog" | median)
printf '%-22s %12s %14s\n' "" "first frame" "peak resident"
printf '%-22s %9s ms %10s MiB\n' "minimal Qt Widgets" "$base_ms" "$(awk "BEGIN { printf \"%.1f\", $base_kib / 1024 }")"
printf '%-22s %9s ms %10s MiB\n' "vorel (title room)" "$prog_ms" "$(awk "BEGIN { printf \"%.1f\", $prog_kib / 1024 }")"
printf '%-22s %11s x %12s x   (goal: within 1.5 x)\n' "ratio" \
  "$(awk "BEGIN { printf \"%.2f\", $prog_ms / ($base_ms > 0 ? $base_ms : 1) }")" \
  "$(awk "BEGIN { printf \"%.2f\", $prog_kib / $base_kib }")"
echo "($runs runs each, medians, alternating, one Xvfb)"
