#!/bin/sh
# Checks the desktop entry and the AppStream metadata as software centres
# read them: both validators without errors or warnings, the same version in
# the build, the metadata's newest release, the changelog and the manual page,
# and every screenshot of the metadata a file of this repository that the
# README shows. Exit 77 (skipped) when a validator is not installed.
# Usage: metadata_check.sh SOURCE_DIR APP_ID VERSION
set -u
src="$1"; id="$2"; version="$3"
skip() { echo "SKIP: $1"; exit 77; }
fail() { echo "FAIL: $1"; exit 1; }
command -v desktop-file-validate >/dev/null || skip "desktop-file-validate is not installed (desktop-file-utils)"
command -v appstreamcli >/dev/null || skip "appstreamcli is not installed (appstream)"
desktop="$src/packaging/$id.desktop"
metainfo="$src/packaging/$id.metainfo.xml"

report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate has remarks: $report"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not named $id"

report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $report"
if echo "$report" | grep -q '^[EW]:'; then fail "appstreamcli validate: $report"; fi

release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$release" = "$version" ] || fail "the newest release in the metadata is \"$release\", the build is $version"
changelog=$(sed -n '1s/^vorel (\([^)]*\)).*/\1/p' "$src/packaging/changelog")
[ "$changelog" = "$version" ] || fail "the changelog's newest entry is \"$changelog\", the build is $version"
grep -q "^\.TH VOREL 6 .*\"vorel $version\"" "$src/packaging/vorel.6" || fail "the manual page does not name version $version"

shots=$(sed -n 's|.*<image>[^<]*/vorel/\([^<]*\)</image>.*|\1|p' "$metainfo")
[ -n "$shots" ] || fail "the metadata has no screenshots"
for shot in $shots; do
  [ -s "$src/$shot" ] || fail "screenshot $shot is not in the repository"
  grep -qF "($shot)" "$src/README.md" || fail "the README does not show $shot"
done
echo "PASS: $id $version; screenshots: $(echo $shots)"
