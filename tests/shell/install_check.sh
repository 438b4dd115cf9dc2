#!/bin/sh
# Installs the build into a temporary prefix and runs the installed program
# through its link in bin: the library and the shipped data must be found
# beside it, the data installed for a fresh user, and the export must work.
# Exit 77 (skipped) when the data files are not built.
# Usage: install_check.sh BUILD_DIR
set -u
build="$1"
[ -f "$build/bin/vorel.zq5" ] || { echo "SKIP: the data files are not built"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $1"; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
for f in bin/vorel lib/vorel/vorel lib/vorel/vorel.zq5 lib/vorel/dat/vorelmap.dat \
         share/applications/vorel.desktop share/pixmaps/vorel.png; do
  [ -e "$work/prefix/$f" ] || fail "not installed: $f"
done
[ -L "$work/prefix/bin/vorel" ] || fail "bin/vorel is not a link"

HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
  XDG_RUNTIME_DIR="$work" "$work/prefix/bin/vorel" --export "$work/out" >/dev/null || fail "the installed program failed"
for i in 1 2 3 4; do [ -s "$work/out/picture$i.png" ] || fail "no picture$i.png"; done
[ -s "$work/home/data/Tamblin Games/Vimo's Quilo Vorel/dat/vorelmap.dat" ] || fail "the data was not installed for the user"
echo "PASS"
