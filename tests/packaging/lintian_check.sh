#!/bin/sh
# Lintian on the package: no errors and no warnings left; what remains is
# overridden in packaging/lintian-overrides with the reason beside it, and
# an override that no longer matches anything fails too, so that the list
# stays true. Exit 77 (skipped) when lintian is not installed.
# Usage: lintian_check.sh PACKAGE_DIR
set -u
skip() { echo "SKIP: $1"; exit 77; }
fail() { echo "FAIL: $1"; exit 1; }
command -v lintian >/dev/null || skip "lintian is not installed"
set -- "$1"/vorel_*.deb
[ -f "$1" ] || { echo "SKIP: no package in $(dirname "$1") (see packaging_deb_build)"; exit 77; }

report=$(lintian --display-info --fail-on error,warning --tag-display-limit 0 "$1" 2>&1)
status=$?
echo "$report"
[ $status -eq 0 ] || fail "lintian found errors or warnings"
if echo "$report" | grep -q -e 'unused-override' -e 'mismatched-override'; then
  fail "an override matches nothing"
fi
echo "PASS: lintian $(basename "$1")"
