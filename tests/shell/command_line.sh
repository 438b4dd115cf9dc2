#!/bin/sh
# The program's command line as a shell user meets it: --help and --version
# print and end with 0 without any display; an unknown option is named on
# stderr with the usage and ends with 2.
# Usage: command_line.sh PROGRAM
set -u
program="$1"
fail() { echo "FAIL: $1"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

"$program" --help >"$work/out" 2>"$work/err"; status=$?
[ "$status" -eq 0 ] || fail "--help ended with $status: $(cat "$work/err")"
grep -q -- "--scale" "$work/out" || fail "--help printed no usage: $(cat "$work/out")"

"$program" --version >"$work/out" 2>"$work/err"; status=$?
[ "$status" -eq 0 ] || fail "--version ended with $status: $(cat "$work/err")"
grep -q "1\.7\.5\.0" "$work/out" || fail "--version printed no version: $(cat "$work/out")"

"$program" --frobnicate >"$work/out" 2>"$work/err"; status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with $status"
grep -q -- "--frobnicate" "$work/err" || fail "the error does not name the option: $(cat "$work/err")"
grep -q "Usage" "$work/err" || fail "the error shows no usage: $(cat "$work/err")"
[ -d "$work/data" ] && fail "an unknown option still touched the data folder"
echo "PASS"
