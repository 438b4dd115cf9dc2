#!/bin/sh
# Builds the Debian package the way the README says (cpack -G DEB in the
# build folder, here into OUT_DIR) and checks its control fields: dependencies
# worked out from the shared libraries, section, priority, short and long
# description. Exit 77 (skipped) when dpkg-shlibdeps is not installed.
# Usage: deb_build.sh BUILD_DIR OUT_DIR
set -u
build="$1"; out="$2"
skip() { echo "SKIP: $1"; exit 77; }
fail() { echo "FAIL: $1"; exit 1; }
command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps is not installed (dpkg-dev)"
command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed"

rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack failed"; }
rm -rf "$out/_CPack_Packages"
set -- "$out"/vorel_*.deb
[ -f "$1" ] || fail "cpack made no vorel_*.deb in $out"
[ $# -eq 1 ] || fail "cpack made more than one package: $*"
deb="$1"

field() { dpkg-deb --field "$deb" "$1"; }
depends=$(field Depends)
# libqt6multimedia6 comes from the sound module, which the program loads itself.
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6multimedia6; do
  echo "$depends" | grep -q "\b$library\b" || fail "Depends lacks $library: $depends"
done
echo "$depends" | grep -q "(>= " || fail "Depends carries no versions, so it was not worked out: $depends"
[ "$(field Section)" = graphics ] || fail "section is \"$(field Section)\""
[ "$(field Priority)" = optional ] || fail "priority is \"$(field Priority)\""
[ "$(field Package)" = vorel ] || fail "package name is \"$(field Package)\""
description=$(field Description)
[ "$(echo "$description" | wc -l)" -ge 4 ] || fail "no long description: $description"
echo "PASS: $(basename "$deb"), Depends: $depends"
