#!/bin/sh
# Sets up the machine, builds the toy and its data, and starts it.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
TARGETS="vorel vorel_data" "$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/bin/vorel" "$@"
