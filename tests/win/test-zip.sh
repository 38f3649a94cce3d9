#!/usr/bin/env bash
# The Windows-side tests as a person runs them on Windows: the zip that
# `scripts/package --tests` makes, unpacked into a folder whose name is outside
# the system code page (1252 here), and its run-tests.cmd, over settings of
# every kind a user may have. Every program must run, the runner end with
# "N passed, 0 failed, N skipped" and exit code 0, and leave the settings, the
# temporary folder and its own folder as they were.
#   test-zip.sh [DLL=d]   with a Wine DLL left out: no sound device
#                         (winealsa.drv=d) or no MP3 codec (l3codeca.acm=d);
#                         the rows that need it are then skipped, with the reason.
. "$FERRO_ROOT/tests/e2e/lib.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES${1:+;$1}"
zip=$(FERRO_DIST=$WORK "$FERRO_ROOT/scripts/package" --tests --no-build) || exit 1
folder="$WORK/Проверка テスト"
mkdir "$folder" && unzip -q "$zip" -d "$folder" || exit 1
pack=$(echo "$folder"/*)
programs=$(unzip -Z1 "$zip" | grep -c '/win\..*\.exe$')

# System tools planted beside the runner, where cmd looks first for a bare
# name: each only leaves a mark ("NAME.ran") when it runs.
for tool in reg.com reg.exe find.exe; do cp "$FERRO_WIN_BIN/PlantedTool.exe" "$pack/$tool"; done
for tool in reg.bat reg.cmd; do printf '@echo planted>"%%~f0.ran"\r\n' >"$pack/$tool"; done
ls -A "$pack" >"$WORK/pack-before"

reg_store OPS=7 RPS=25 bMusic=1 'MP3 Sound=C:\Música\Дорога.mp3'
wine reg add "$settings_key" /v "Motion Blur" /t REG_BINARY /d 01000000 /f >/dev/null 2>&1
reg_export "$WORK/before.reg"
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
temp_files() { ls -A "$temp" | grep -vxE 'TarsolinRes(MD3\.MD3|TGA\.TGA)'; }  # the saver's own two
temp_files >"$WORK/temp-before"

if [ -z "${1:-}" ]; then
  # Ctrl+C while a program has settings of its own stored: a terminal sends
  # SIGINT to every process of the run (its process group), which Wine turns
  # into CTRL_C_EVENT. The program that stores settings runs there alone.
  stopped="$WORK/Прервано"
  mkdir "$stopped" && cp "$pack"/{run-tests.cmd,Ferrovane.scr,audio_tone.mp3,win.scene_windows.exe} "$stopped"/
  setsid wine cmd /c "$(winepath -w "$stopped/run-tests.cmd")" >"$WORK/stopped.txt" 2>&1 &
  run=$!
  check "a run's program stores settings of its own" wait_until 120 eval '! settings_as_before'
  kill -INT -- -"$run"
  run_ended() {  # every process of the run has ended; those left are shown, then ended
    wait_until 60 eval '[ -z "$(ps -o pid= -s "$run")" ]' && return 0
    for pid in $(ps -o pid= -s "$run"); do show_threads "$pid"; kill -9 "$pid"; done
    return 1
  }
  check "Ctrl+C ends the run and its program" run_ended
  check "a run ended by Ctrl+C leaves the settings as they were" settings_as_before
  check "and nothing in the temporary folder" diff "$WORK/temp-before" <(temp_files)
fi

wine cmd /c "$(winepath -w "$pack/run-tests.cmd")" >"$WORK/out.txt" 2>&1
rc=$?
tr -d '\r' <"$WORK/out.txt" | tee "$WORK/runner.txt" | sed 's/^/#   /'
last=$(tail -n 1 "$WORK/runner.txt")
read -r passed failed skipped < <(sed -nE 's/^([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped$/\1 \2 \3/p' <<<"$last")
check "it says what will happen first" grep -q 'Leave the mouse' <(head -n 3 "$WORK/runner.txt")
check "every one of the $programs programs ran" test "$(grep -c '^=== win\..*\.exe$' "$WORK/runner.txt")" = "$programs"
check "it ends with N passed, 0 failed, N skipped and exit code 0 ($last; $rc)" \
  test "$rc" = 0 -a "${failed:-x}" = 0 -a "${passed:-0}" -gt 0

# The rows that need what a PC may lack, and rows beside them that must run
# all the same: what each does without a sound device, and without the codec.
rows='
AcmMp3Decoder.LoopsTheToneSeamlesslyAndGivesItsBuffersBack  runs    skipped
AudioLibrary.StoppingReturnsWhileOpeningHangs               runs    runs
AudioLibrary.StoppingReturnsWhileTheCodecOrDeviceHangs      skipped skipped
AudioLibrary.KeepsWhatAGoneDeviceOwnsAndPlaysOnWhenItIsBack skipped skipped
SceneWindows.ParentGoneDuringTheFormatMessageFailsCreation  runs    runs
DisplayState.NoFramesWhileTheDisplayIsOff                   runs    runs'
case ${1:-} in
  winealsa.drv=d) column=2 reason='no sound output device' ;;
  l3codeca.acm=d) column=3 reason='no MP3 codec' ;;
  *) column=0 reason= ;;
esac
fates() { awk -v c="$column" 'NF { print $1, (c ? $c : "runs") }' <<<"$rows"; }
row_did() {  # row_did ROW runs|skipped; a skipped row says why twice: where it ran, and in the closing list
  case $2 in
    runs) grep -q "^\[       OK \] $1 (" "$WORK/runner.txt" ;;
    skipped) [ "$(grep -c "^skipped: $1: $reason" "$WORK/runner.txt")" = 2 ] ;;
  esac
}
while read -r row fate; do
  check "$row $fate${reason:+ with $reason}" row_did "$row" "$fate"
done < <(fates)
check "no other row is skipped, and the closing line counts them ($skipped)" \
  test "$(sed -n 's/^skipped: \([^:]*\): .*/\1/p' "$WORK/runner.txt" | sort -u)" = \
  "$(fates | awk '$2 == "skipped" { print $1 }' | sort)" -a "${skipped:-x}" = "$(fates | grep -c ' skipped$')"

results="$pack/results.txt"
has_all() { local file=$1 line; shift; for line; do grep -qx -- "$line" <(tr -d '\r' <"$file") || return 1; done; }
none_without() { [ "${1:-}" = "$2" ] && echo none || echo found; }
check "results.txt beside the runner: Windows, the OpenGL driver, the sound device and the codec" \
  has_all "$results" 'Microsoft Windows.*' 'OpenGL: llvmpipe.*Mesa.*' \
  "sound output device: $(none_without "${1:-}" winealsa.drv=d)" "MP3 codec: $(none_without "${1:-}" l3codeca.acm=d)"
passing_programs() {  # the programs in results.txt whose own output ends with GoogleTest's PASSED
  tr -d '\r' <"$results" | awk '/^=== win\..*\.exe$/ { p = $2 } /^\[  PASSED  \] [0-9]+ tests?\.$/ && p { n++; p = "" } END { print n + 0 }'
}
check "and each of the $programs programs passed" test "$(passing_programs)" = "$programs"
check "the settings as they were, byte for byte and type for type" settings_as_before
check "nothing new in the temporary folder" diff "$WORK/temp-before" <(temp_files)
marks=$(cd "$pack" && ls -- *.ran 2>/dev/null | paste -sd ' ')
check "no tool planted beside the runner ran (${marks:-no marks})" test -z "$marks"
check "the runner's folder holds what it held, and results.txt" \
  diff <(sort "$WORK/pack-before" - <<<results.txt) <(ls -A "$pack" | sort)
finish
