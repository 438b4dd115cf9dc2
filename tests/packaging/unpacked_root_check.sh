#!/bin/sh
# The package unpacked into a temporary root: the program there finds its
# data relative to itself, installs it for a fresh user and writes the four
# pictures; appstreamcli checks the unpacked tree the way a software centre's
# indexer would (metadata, desktop entry and icons together).
# Usage: unpacked_root_check.sh PACKAGE_DIR
set -u
fail() { echo "FAIL: $1"; [ -f "$work/export.log" ] && cat "$work/export.log"; exit 1; }
set -- "$1"/vorel_*.deb
[ -f "$1" ] || { echo "SKIP: no package in $(dirname "$1") (see packaging_deb_build)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

dpkg-deb --extract "$1" "$work/root" || fail "dpkg-deb --extract failed"
mkdir -m 700 "$work/runtime"
HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
  XDG_RUNTIME_DIR="$work/runtime" "$work/root/usr/bin/vorel" --export "$work/out" >"$work/export.log" 2>&1 ||
  fail "the unpacked program failed"
for i in 1 2 3 4; do [ -s "$work/out/picture$i.png" ] || fail "no picture$i.png"; done
[ -s "$work/home/data/Tamblin Games/Vimo's Quilo Vorel/dat/vorelmap.dat" ] || fail "the data was not installed for the user"

if command -v appstreamcli >/dev/null; then
  report=$(appstreamcli validate-tree --no-net "$work/root" 2>&1) || fail "appstreamcli validate-tree: $report"
  if echo "$report" | grep -q '^[EW]:'; then fail "appstreamcli validate-tree: $report"; fi
fi
echo "PASS: $(basename "$1") unpacked runs and exports"
