#!/bin/sh
# Configures and builds into BUILD_DIR (default: build). Extra arguments go to
# cmake's configure step; TARGETS, when set, limits what is built.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja "$@"
if [ -n "$TARGETS" ]; then
  cmake --build "$build" --parallel "${JOBS:-2}" --target $TARGETS
else
  cmake --build "$build" --parallel "${JOBS:-2}"
fi
