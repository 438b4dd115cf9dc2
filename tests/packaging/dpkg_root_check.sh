#!/bin/sh
# Installs the package with dpkg into a fresh folder used as the root, then
# starts the installed toy with its menu entry's command (under the offscreen
# display), waits for its window's first frame, ends it as a session end
# would and checks that it saved. The fresh root has no base system, so the
# package's dependencies cannot be satisfied inside it: dpkg is told to
# install anyway, and the toy runs on this machine's libraries.
# Usage: dpkg_root_check.sh PACKAGE_DIR
set -u
fail() { echo "FAIL: $1"; [ -f "$work/vorel.log" ] && cat "$work/vorel.log"; exit 1; }
set -- "$1"/vorel_*.deb
[ -f "$1" ] || { echo "SKIP: no package in $(dirname "$1") (see packaging_deb_build)"; exit 77; }
deb="$1"
work=$(mktemp -d)
vorel_pid=""
cleanup() { [ -n "$vorel_pid" ] && kill "$vorel_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="fakeroot"; fi
$as_root dpkg --root="$root" --force-depends --force-not-root --log=/dev/null -i "$deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg --root -i failed"; }
status=$(dpkg --root="$root" --status vorel 2>/dev/null | sed -n 's/^Status: //p')
[ "$status" = "install ok installed" ] || fail "dpkg reports the package as \"$status\""

entry="$root/usr/share/applications/$(dpkg --root="$root" --listfiles vorel | sed -n 's|^/usr/share/applications/||p')"
[ -f "$entry" ] || fail "no desktop entry installed"
command=$(sed -n 's/^Exec=//p' "$entry")
[ -n "$command" ] || fail "the desktop entry has no command"
found=$(PATH="$root/usr/bin:$PATH" command -v "${command%% *}")
[ "$found" = "$root/usr/bin/vorel" ] || fail "\"$command\" runs \"$found\", not the installed program"

mkdir -p "$work/config/KEL! Software" "$work/data"
mkdir -m 700 "$work/runtime"
printf '[General]\nSplashScreen=false\n' >"$work/config/KEL! Software/Vorel.conf"
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
  PATH="$root/usr/bin:$PATH" QT_QPA_PLATFORM=offscreen VOREL_REPORT_FIRST_FRAME=1 \
  sh -c "exec $command" >"$work/vorel.log" 2>&1 &
vorel_pid=$!
for _ in $(seq 300); do grep -q '^first-frame' "$work/vorel.log" && break; sleep 0.1; done
grep -q '^first-frame' "$work/vorel.log" || fail "\"$command\" showed no window"
kill -TERM "$vorel_pid"
wait "$vorel_pid"; code=$?; vorel_pid=""
[ $code -eq 0 ] || fail "\"$command\" ended with status $code"
[ -s "$work/data/Tamblin Games/Vimo's Quilo Vorel/PYX_sg1.dat" ] || fail "no saved game"
echo "PASS: dpkg --root installed $(basename "$deb"); \"$command\" started, showed its window and saved"
