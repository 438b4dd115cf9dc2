#!/bin/sh
# Latency benchmark under Xvfb: the real program against a minimal Qt Widgets
# program that repaints itself on every press (in a window of the same size),
# in alternating rounds on one X server, at each scale. For each: the time
# from a click to the window's changed pixels (median, p90, max over all
# clicks, and the spread of the rounds' medians), the window updates while an
# object is dragged, and, left alone for 10 s (at scale 1), the X requests it
# sends and the processor time it and the X server spend.
# Usage: latency_probe.sh [BIN_DIR] [ROUNDS] [CLICKS_PER_ROUND] [SCALES]
#   (defaults: build/bin, 3 rounds, 15 clicks, scales "1 2 3")
# With COMPARE_BIN set to the bin folder of another build (an older one, say),
# its program is probed in the same rounds as well.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="${1:-$root/build/bin}"
rounds="${2:-3}"
clicks="${3:-15}"
scales="${4:-1 2 3}"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 1; }
for f in vorel minimal_widgets latency_probe vorel.zq5; do
  [ -e "$bin/$f" ] || { echo "missing $bin/$f (build first, with the data files)"; exit 1; }
done

SCREEN=1920x1600
. "$root/tests/shell/xvfb_common.sh"
xvfb_session "${SCREEN:-1280x1024}" || { echo "Xvfb did not start"; exit 1; }

# One round of one program: appends the probe's lines to $work/$1.$scale;
# $2 is the probe's mode.
probe() {
  name=$1; mode=$2; shift 2
  "$@" >/dev/null 2>&1 &
  pid=$!
  idle=0; [ "$scale" = 1 ] && idle=10
  "$bin/latency_probe" "$mode" "$pid" "$xvfb_pid" "$clicks" "$scale" "$idle" >> "$work/$name.$scale" ||
    echo "probe of $name failed" >&2
  kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  rm -rf "$work/data"/*   # every round starts from fresh pictures
}

for scale in $scales; do
  : > "$work/minimal.$scale"; : > "$work/vorel.$scale"; : > "$work/other.$scale"
  i=0
  while [ "$i" -lt "$rounds" ]; do
    probe minimal minimal "$bin/minimal_widgets" --click
    probe vorel vorel "$bin/vorel"
    [ -n "${COMPARE_BIN:-}" ] && probe other vorel "$COMPARE_BIN/vorel"
    i=$((i + 1))
  done
done

# A numeric sort of a[1..n] for awk (mawk has no asort).
sort_fn='function isort(a, n,  i, j, t) { for (i = 2; i <= n; ++i) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; --j) a[j + 1] = a[j]; a[j + 1] = t } }'
# click lines -> "median p90 max spread-of-round-medians"
clickstats() {
  awk "$sort_fn"'
       $1 == "click" {
         n = 0; for (i = 2; i <= NF; ++i) { all[++total] = $i + 0; r[++n] = $i + 0 }
         isort(r, n); med[++rounds] = r[int((n + 1) / 2)] }
       END {
         if (total == 0) { print "- - - -"; exit }
         isort(all, total); isort(med, rounds)
         p90 = all[int(total * 0.9 + 0.999)]
         printf "%.1f %.1f %.1f %.1f..%.1f\n", all[int((total + 1) / 2)], p90, all[total], med[1], med[rounds] }' "$1"
}
# drag lines -> "updates/s moves/s" (medians of the rounds)
dragstats() {
  awk "$sort_fn"'
       $1 == "drag" { u[++n] = $3 / $4; m[n] = $2 / $4 }
       END { if (!n) { print "- -"; exit } isort(u, n); isort(m, n); k = int((n + 1) / 2); printf "%.0f %.0f\n", u[k], m[k] }' "$1"
}
# idle lines -> "requests/s program-ms/s server-ms/s program-spread" (medians of the rounds)
idlestats() {
  awk "$sort_fn"'
       $1 == "idle" { q[++n] = $3 / $2; p[n] = $4 / $2; s[n] = $5 / $2 }
       END { if (!n) { print "- - - -"; exit } isort(q, n); isort(p, n); isort(s, n); k = int((n + 1) / 2)
             printf "%.1f %.2f %.2f %.2f..%.2f\n", q[k], p[k], s[k], p[1], p[n] }' "$1"
}

ratio() { awk "BEGIN { if ($2 > 0) printf \"%.2f\", $1 / $2; else print \"-\" }"; }

echo "click until the window shows it (ms)    median    p90     max   round medians"
for scale in $scales; do
  set -- $(clickstats "$work/minimal.$scale"); bmed=$1 bp90=$2 bmax=$3 bspread=$4
  set -- $(clickstats "$work/vorel.$scale"); vmed=$1 vp90=$2 vmax=$3 vspread=$4
  printf '  %-36s %6s %6s %7s   %s\n' "scale $scale: minimal Qt program" "$bmed" "$bp90" "$bmax" "$bspread"
  printf '  %-36s %6s %6s %7s   %s\n' "scale $scale: vorel, click on picture" "$vmed" "$vp90" "$vmax" "$vspread"
  printf '  %-36s %6s %6s %7s x\n' "scale $scale: ratio" "$(ratio "$vmed" "$bmed")" "$(ratio "$vp90" "$bp90")" "$(ratio "$vmax" "$bmax")"
  if [ -n "${COMPARE_BIN:-}" ]; then
    set -- $(clickstats "$work/other.$scale"); omed=$1 op90=$2 omax=$3 ospread=$4
    printf '  %-36s %6s %6s %7s   %s\n' "scale $scale: COMPARE_BIN's vorel" "$omed" "$op90" "$omax" "$ospread"
    printf '  %-36s %6s %6s %7s x\n' "scale $scale: its ratio" "$(ratio "$omed" "$bmed")" "$(ratio "$op90" "$bp90")" "$(ratio "$omax" "$bmax")"
  fi
done
for scale in $scales; do
  set -- $(dragstats "$work/vorel.$scale")
  echo "dragging an object in vorel at scale $scale: $1 window updates a second for $2 moves a second"
  if [ -n "${COMPARE_BIN:-}" ]; then
    set -- $(dragstats "$work/other.$scale")
    echo "  COMPARE_BIN's vorel: $1 window updates a second for $2 moves a second"
  fi
done
# Idle is measured in the rounds at scale 1 only.
if [ -f "$work/vorel.1" ]; then
  set -- $(idlestats "$work/minimal.1"); breq=$1 bcpu=$2 bsrv=$3 bcspread=$4
  set -- $(idlestats "$work/vorel.1"); vreq=$1 vcpu=$2 vsrv=$3 vcspread=$4
  echo "idle for 10 s                           X requests/s   CPU ms/s   X server ms/s   CPU spread"
  printf '  %-36s %8s %10s %12s   %s\n' "minimal Qt program (baseline)" "$breq" "$bcpu" "$bsrv" "$bcspread"
  printf '  %-36s %8s %10s %12s   %s\n' "vorel (picture 1)" "$vreq" "$vcpu" "$vsrv" "$vcspread"
  if [ -n "${COMPARE_BIN:-}" ]; then
    set -- $(idlestats "$work/other.1")
    printf '  %-36s %8s %10s %12s   %s\n' "COMPARE_BIN's vorel (picture 1)" "$1" "$2" "$3" "$4"
  fi
fi
echo "($rounds alternating rounds of $clicks clicks each per scale on one Xvfb; the machine may be"
echo " shared, so compare the ratios, not the milliseconds)"
