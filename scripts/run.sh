#!/bin/sh
# Sets up the machine, builds the toy and starts it.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DVOREL_BUILD_TESTS=OFF -DVOREL_BUILD_BENCH=OFF -DVOREL_BUILD_FUZZ=OFF
bin="${BUILD_DIR:-$root/build}/bin"
if [ -x "$bin/vorel" ]; then
  exec "$bin/vorel" "$@"
fi
echo "The window program is not built yet; the tools are in $bin:"
ls "$bin"
