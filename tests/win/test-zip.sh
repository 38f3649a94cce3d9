#!/usr/bin/env bash
# The Windows-side tests as a person runs them on Windows: the zip that
# `scripts/package --tests` makes, unpacked into a folder whose name is outside
# the system code page (1252 here), and its run-tests.cmd, over settings of
# every kind a user may have. Every program must run, the runner end with
# "N passed, 0 failed, N skipped" and exit code 0, and leave the settings and
# the temporary folder as they were.
#   test-zip.sh [DLL=d]   with a Wine DLL left out: no sound device
#                         (winealsa.drv=d) or no MP3 codec (l3codeca.acm=d);
#                         rows are then skipped, each with its reason.
. "$FERRO_ROOT/tests/e2e/lib.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES${1:+;$1}"
zip=$(FERRO_DIST=$WORK "$FERRO_ROOT/scripts/package" --tests --no-build) || exit 1
folder="$WORK/Проверка テスト"
mkdir "$folder" && unzip -q "$zip" -d "$folder" || exit 1
programs=$(unzip -Z1 "$zip" | grep -c '/win\..*\.exe$')

reg_store OPS=7 RPS=25 bMusic=1 'MP3 Sound=C:\Música\Дорога.mp3'
wine reg add "$settings_key" /v "Motion Blur" /t REG_BINARY /d 01000000 /f >/dev/null 2>&1
reg_export "$WORK/before.reg"
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
temp_files() { ls -A "$temp" | grep -vxE 'TarsolinRes(MD3\.MD3|TGA\.TGA)'; }  # the saver's own two
temp_files >"$WORK/temp-before"

wine cmd /c "$(winepath -w "$folder"/*/run-tests.cmd)" >"$WORK/out.txt" 2>&1
rc=$?
tr -d '\r' <"$WORK/out.txt" >"$WORK/runner.txt"
sed 's/^/#   /' "$WORK/runner.txt"
last=$(tail -n 1 "$WORK/runner.txt")
read -r passed failed skipped < <(sed -nE 's/^([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped$/\1 \2 \3/p' <<<"$last")
check "it says what will happen first" grep -q 'Leave the mouse' <(head -n 3 "$WORK/runner.txt")
check "every one of the $programs programs ran" test "$(grep -c '^=== win\..*\.exe$' "$WORK/runner.txt")" = "$programs"
check "it ends with N passed, 0 failed, N skipped and exit code 0 ($last; $rc)" \
  test "$rc" = 0 -a "${failed:-x}" = 0 -a "${passed:-0}" -gt 0
reasons=$(grep -c '^skipped: [^ ]*: [a-z]' "$WORK/runner.txt")
if [ -z "${1:-}" ]; then
  check "nothing skipped with a sound device and the codec" test "${skipped:-x}" = 0
else
  # Each row says why twice: where it ran, and in the runner's closing list.
  check "rows skipped, each with its reason ($skipped rows, $reasons lines)" \
    test "${skipped:-0}" -gt 0 -a "$reasons" = $((2 * ${skipped:-0}))
fi
results=$(find "$folder" -name results.txt)
has_all() { local file=$1 line; shift; for line; do grep -qx -- "$line" <(tr -d '\r' <"$file") || return 1; done; }
none_without() { [ "${1:-}" = "$2" ] && echo none || echo found; }
check "results.txt beside the runner: Windows, the OpenGL driver, the sound device and the codec, each program" \
  has_all "$results" 'Microsoft Windows.*' 'OpenGL: llvmpipe.*Mesa.*' \
  "sound output device: $(none_without "${1:-}" winealsa.drv=d)" "MP3 codec: $(none_without "${1:-}" l3codeca.acm=d)" '=== win.shell.exe' '\[  PASSED  \].*'
reg_export "$WORK/after.reg"
check "the settings as they were, byte for byte and type for type" cmp "$WORK/before.reg" "$WORK/after.reg"
check "nothing new in the temporary folder" diff "$WORK/temp-before" <(temp_files)
finish
