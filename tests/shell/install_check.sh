#!/bin/sh
# Installs the build into a temporary prefix, moves the whole prefix
# elsewhere, and runs the installed program there: it must find its data in
# share/vorel relative to itself, install it for a fresh user and export.
# Also checks that everything a desktop needs lies where desktops look.
# Exit 77 (skipped) when the data files are not built.
# Usage: install_check.sh BUILD_DIR APP_ID
set -u
build="$1"; id="$2"
[ -f "$build/bin/vorel.zq5" ] || { echo "SKIP: the data files are not built"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $1"; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
mv "$work/prefix" "$work/moved"
prefix="$work/moved"
for f in bin/vorel share/vorel/vorel.zq5 share/vorel/dat/vorelmap.dat share/vorel/dat/pyx_init.txt \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/man/man6/vorel.6.gz \
         share/doc/vorel/copyright share/doc/vorel/changelog.gz; do
  [ -s "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
  [ -s "$icon" ] || fail "no ${size}px icon"
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "the ${size}px icon is $(file -b "$icon")"
done
[ -L "$prefix/bin/vorel" ] && fail "bin/vorel is a link, not the program"
# Into lib go the sound and print modules, in a folder of the program's own, and nothing else.
for name in sound print; do
  module=$(cd "$prefix" && find lib* -path "*/vorel/modules/libvorel$name.so" 2>/dev/null)
  [ -n "$module" ] && [ -s "$prefix/$module" ] || fail "not installed: the $name module"
done
others=$(cd "$prefix" && find lib* ! -type d ! -path '*/vorel/modules/libvorelsound.so' \
  ! -path '*/vorel/modules/libvorelprint.so' 2>/dev/null)
[ -z "$others" ] || fail "something was installed into lib: $others"

HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
  XDG_RUNTIME_DIR="$work" "$prefix/bin/vorel" --export "$work/out" >/dev/null || fail "the installed program failed"
for i in 1 2 3 4; do [ -s "$work/out/picture$i.png" ] || fail "no picture$i.png"; done
[ -s "$work/home/data/Tamblin Games/Vimo's Quilo Vorel/dat/vorelmap.dat" ] || fail "the data was not installed for the user"
echo "PASS"
