#!/bin/sh
# Start-up counted in instructions, which a shared machine cannot disturb:
# the program (about box off, a saved game present, as from the second start
# on) and a minimal Qt Widgets program with a window of the same size, each
# run once under callgrind from launch until its first frame has been
# handed to the X server; prints both counts and their ratio, and the
# program's largest costs of its own.
# Usage: start_instructions.sh [BIN_DIR]   (needs valgrind)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin="${1:-$root/build/bin}"
command -v valgrind >/dev/null || { echo "valgrind is not installed"; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 1; }
. "$root/tests/shell/xvfb_common.sh"
xvfb_session "${SCREEN:-1280x1024}" || { echo "Xvfb did not start"; exit 1; }

# A first start, closed as a window manager would, writes the saved game.
VOREL_REPORT_FIRST_FRAME=1 "$bin/vorel" > "$work/first.out" 2>&1 &
pid=$!
for _ in $(seq 200); do grep -q '^first-frame' "$work/first.out" && break; sleep 0.05; done
kill -TERM "$pid"; wait "$pid"
size=$(sed -n 's/^first-frame [0-9]* \([0-9]*x[0-9]*\).*/\1/p' "$work/first.out")
[ -n "$size" ] || { echo "the program showed no first frame"; exit 1; }
ls "$work/data"/*/*/PYX_sg1.dat >/dev/null 2>&1 || { echo "the first start saved no game"; exit 1; }
export VOREL_REPORT_FIRST_FRAME=quit

total() { callgrind_annotate "$work/$1.cg" 2>/dev/null | sed -n 's/^ *\([0-9,]*\) .*PROGRAM TOTALS.*/\1/p' | tr -d ,; }
valgrind --tool=callgrind --callgrind-out-file="$work/minimal.cg" "$bin/minimal_widgets" --size "$size" >/dev/null 2>&1
valgrind --tool=callgrind --callgrind-out-file="$work/vorel.cg" "$bin/vorel" >/dev/null 2>&1
m=$(total minimal); v=$(total vorel)
echo "instructions from launch to the first frame (window $size):"
echo "  minimal Qt Widgets program: $m"
echo "  vorel, about box off:       $v"
awk -v m="$m" -v v="$v" 'BEGIN { printf "  ratio:                      %.2f x\n", v / m }'
echo "the program's own largest costs (inclusive, share of its count):"
callgrind_annotate --inclusive=yes "$work/vorel.cg" 2>/dev/null | awk '
  match($0, /^ *[0-9,]+ +\( *[0-9.]+%\) +[^ ]*\/src\/(shell|engine|activity|image)\/[^:]*:/) {
    name = substr($0, RLENGTH + 1); sub(/\(.*/, "", name)
    share = $0; sub(/^[^(]*\(/, "", share); sub(/\).*/, "", share)
    if (name == "" || name ~ /^(main|RunProgram|Guarded|.*notify)/ || seen[name]++) next
    printf "  %14s %7s  %s\n", $1, share, name
    if (++shown == 10) exit
  }'
