#!/bin/sh
# Builds the fuzz drivers as libFuzzer targets (clang, with the address and
# undefined-behaviour sanitizers) into build-fuzz and runs each for
# FUZZ_SECONDS (default 45) on a working copy of its corpus. A count that asks
# for gigabytes is a finding too (-rss_limit_mb, -malloc_limit_mb). The
# per-input time limit is generous because a busy machine can stall a target
# for many seconds on an input that takes milliseconds.
#
# Exits 1 when a target found a crash; its input is left in
# build-fuzz/findings/<target>/. Keep it in fuzz/reproducers/<corpus>/, so that
# the plain build replays it as a test from then on.
#
# Usage: scripts/fuzz.sh [TARGET...]   (default: every target)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-45}"
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; skipped"
  exit 0
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVOREL_LIBFUZZER=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "${JOBS:-2}"

status=0
while IFS=: read -r target corpus; do
  [ -n "$target" ] || continue
  if [ $# -gt 0 ] && ! printf ' %s ' "$*" | grep -q " $target "; then continue; fi
  work="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$work" "$findings"
  log="$build/$target.log"
  if "$build/bin/$target" -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 -timeout=120 \
       -artifact_prefix="$findings/" -print_final_stats=1 "$work" "$root/fuzz/corpus/$corpus" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $target: ${runs:-?} inputs in ${seconds}s, no finding"
  else
    echo "fuzz: $target FOUND A CRASH (log: $log, input: $findings/)"
    tail -n 30 "$log"
    status=1
  fi
done <"$build/fuzz-targets.txt"
exit $status
