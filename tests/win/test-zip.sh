#!/usr/bin/env bash
# The Windows-side tests as a person runs them on Windows: the zip that
# `scripts/package --tests` makes, unpacked, and its run-tests.cmd, which must
# run every test program in it and end with "N passed, 0 failed".
set -uo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/ferro-test-zip.XXXXXX")
trap 'rm -rf "$work"' EXIT
zip=$(FERRO_DIST=$work "$FERRO_ROOT/scripts/package" --tests --no-build) && unzip -q "$zip" -d "$work" || exit 1
programs=$(unzip -Z1 "$zip" | grep -c '/win\..*\.exe$')
wine cmd /c "$(winepath -w "$work"/*/run-tests.cmd)" >"$work/out.txt"
rc=$?
tr -d '\r' <"$work/out.txt"
last=$(tr -d '\r' <"$work/out.txt" | tail -n 1)
[ "$rc" -eq 0 ] && [ "$programs" -gt 0 ] && [ "$last" = "$programs passed, 0 failed" ] && exit 0
echo "FAIL: wanted \"$programs passed, 0 failed\" at the end and exit code 0, got \"$last\" and $rc"
exit 1
