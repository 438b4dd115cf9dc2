#!/bin/sh
# Sets up the machine, builds everything from nothing and runs every test.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DVOREL_WERROR="${VOREL_WERROR:-OFF}" \
  -DVOREL_BUILD_TESTS=ON -DVOREL_BUILD_FUZZ=ON "$@"
cd "${BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "${JOBS:-2}" --timeout 300
