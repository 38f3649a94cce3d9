# Shared helpers for the end-to-end tests: run inside scripts/in-wine-session,
# with FERRO_WIN_BIN naming the folder of Ferrovane.scr and the test programs.
# Every process a test starts is ended by the test, by its process id, also
# when the test fails.
set -uo pipefail

SCR="$FERRO_WIN_BIN/Ferrovane.scr"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/ferro-e2e.XXXXXX")
E2E_PIDS=()
E2E_FAILED=0
E2E_CHECKS=0

# A process's start time: with it, a process id taken since by another
# process (ids come round again soon on a busy machine) is never ended.
started_at() { awk '{ print $22 }' "/proc/$1/stat" 2>/dev/null; }
e2e_cleanup() {
  local entry
  for entry in "${E2E_PIDS[@]}"; do  # PID:START
    [ "$(started_at "${entry%:*}")" = "${entry#*:}" ] && kill -9 "${entry%:*}" 2>/dev/null
  done
  rm -rf "$WORK"
}
trap e2e_cleanup EXIT

note() { echo "# $*"; }

check() {  # check "what" command...  -- passes when the command succeeds; returns its status
  E2E_CHECKS=$((E2E_CHECKS + 1))
  "${@:2}" && echo "ok - $1" && return 0
  echo "not ok - $1"
  E2E_FAILED=$((E2E_FAILED + 1))
  return 1
}

finish() {
  # Wine's heap checking (scripts/wine-session) reports writes into freed or
  # past allocated memory; the background processes' output lands in $WORK.
  # Every file is searched as text: a log may hold a NUL byte.
  check "no heap errors in the programs' output" bash -c "! grep -ra 'err:heap' '$WORK'"
  echo "$E2E_CHECKS checks, $E2E_FAILED failed"
  exit $((E2E_FAILED > 0))
}

# start_bg OUTVAR command... : starts a command in the background, its output
# in $E2E_LOG (bg.log), and remembers its pid.
start_bg() {
  "${@:2}" >>"${E2E_LOG:-$WORK/bg.log}" 2>&1 &
  E2E_PIDS+=("$!:$(started_at "$!")")
  printf -v "$1" '%s' "$!"
}
start_saver() { start_bg "$1" wine "$SCR" "${@:2}"; }  # start_saver OUTVAR args...

alive() { kill -0 "$1" 2>/dev/null; }
# Alive and not a zombie: a program that crashed is a zombie until it is waited for.
running() { alive "$1" && [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1)" != Z ]; }

# wait_until SECONDS command... : polls every 0.1 s until the command succeeds.
wait_until() {
  local end=$((SECONDS + $1)); shift
  while [ "$SECONDS" -lt "$end" ]; do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

ended() { ! alive "$1"; }
# show_threads PID: what each thread of a process is doing (name, state, kernel wait).
show_threads() {
  local task
  note "process $1 ($(cat "/proc/$1/comm" 2>/dev/null)), its threads (tid name state wchan):"
  for task in /proc/"$1"/task/*; do
    note "  ${task##*/} $(cat "$task/comm") $(awk '{ print $3 }' "$task/stat") $(cat "$task/wchan")"
  done 2>/dev/null
  winedbg --command "info thread" 2>/dev/null | tr -d '\r' | sed 's/^/#   /'
}
# exits_with CODE PID [SECONDS]: the process, started by this shell, ends
# within the time (10 s) with that exit code; one still running then is
# shown (what it was doing) and killed.
exits_with() {
  wait_until "${3:-10}" ended "$2" ||
    { note "still running after ${3:-10} s:"; show_threads "$2"; kill -9 "$2" 2>/dev/null; return 1; }
  wait "$2"
  local rc=$?
  [ "$rc" = "$1" ] || { note "exit code $rc, not $1 (124: killed by its time-out)"; return 1; }
}

# The saver's visible top-level X windows (Wine names their WM_CLASS after the program).
saver_windows() { xdotool search --onlyvisible --class ferrovane 2>/dev/null; }
saver_window() { saver_windows | head -n 1; }
has_saver_window() { [ -n "$(saver_window)" ]; }
# saver_up PIDVAR ARGS...: the saver started with the pointer resting at
# 200,200, until its window shows (the first start of a prefix is slow).
saver_up() {
  xdotool mousemove 200 200
  start_saver "$@"
  wait_until 60 has_saver_window || { note "no saver window for ${*:2}"; return 1; }
}
# One saver window, over the whole screen.
covers_screen() {
  [ "$(saver_windows | wc -l)" -eq 1 ] &&
    [ "$(window_geometry "$(saver_window)")" = "$(xdpyinfo | awk '/dimensions:/ { print $2 }')+0+0" ]
}

window_geometry() {  # prints WxH+X+Y of an X window, X and Y from the screen's top left;
  # nothing for no id (xwininfo would wait for a click)
  [ -n "$1" ] && xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h "+" x "+" y }'
}

# shoot SHOT: a screenshot, $WORK/SHOT.png, with the box of its pixels that
# are not black, "LEFT TOP RIGHT BOTTOM", in $WORK/SHOT.box (empty: all black)
shoot() { import -window root "$WORK/$1.png" && lit_box_of "$WORK/$1.png" >"$WORK/$1.box"; }
drawn() { shoot "$1" && [ -s "$WORK/$1.box" ]; }  # drawn SHOT: shot, and something shows

# Stays true while the process keeps running for the given seconds.
still_running_after() { ! wait_until "$2" ended "$1"; }  # still_running_after PID SECONDS

# Registry of the session's prefix.
settings_key='HKCU\Software\Vantrel\Ferrovane ScreenSaver\Config'
reg_clear() { wine reg delete 'HKCU\Software\Vantrel' /f >/dev/null 2>&1 || true; }
reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

# --- pictures of the scene -----------------------------------------------------
# lit_box_of IMAGE: "LEFT TOP RIGHT BOTTOM" of its lit pixels; nothing when all is black
lit_box_of() { convert "$1" -threshold 0 -format '%@' info: 2>/dev/null | awk -F'[x+]' '$1 > 0 { print $3, $4, $3 + $1 - 1, $4 + $2 - 1 }'; }
# count_trails IMAGE...: LIT, how many show the model, and TRAILS, how many
# show the Motion Blur trail beyond it: its top or bottom lit row at most 64
# of 255 bright, where the model's own rows are brighter (a copy alone over
# black is a fifth of the skin).
count_trails() {
  local image row box
  LIT=0 TRAILS=0
  for image in "$@"; do
    box=$(lit_box_of "$image") && [ -n "$box" ] && LIT=$((LIT + 1))
    for row in $(cut -d' ' -f2,4 <<<"$box"); do
      [ "$(convert "$image" -crop "$(identify -format %w "$image")x1+0+$row" +repage -fx 'max(r,max(g,b))' \
        -format '%[fx:int(255 * maxima)]' info: 2>/dev/null)" -le 64 ] && TRAILS=$((TRAILS + 1)) && break
    done
  done
}
# --- end of pictures of the scene -----------------------------------------------

# --- setup dialog: SetupDriver.exe works the dialog of the saver in setup mode --
drv() { wine "$FERRO_WIN_BIN/SetupDriver.exe" "$@" 2>/dev/null | tr -d '\r'; }
open_setup() {  # open_setup HOME [NAME=VALUE...]: setup mode, with the dialog up and
  # only these settings stored (none given: the registry as it is); each wait is a check.
  # A dialog left over would be taken for this one.
  check "setup mode: no dialog left over from before (SetupDriver closed)" drv closed
  [ $# -lt 2 ] || reg_store "${@:2}"
  HOME=$1 start_saver SETUP_PID /c
  check "setup mode shows its dialog (SetupDriver wait)" drv wait || show_threads "$SETUP_PID"
}
# state_has LINE...: every line is in what the dialog shows (none is left once its lines are taken out)
state_has() { ! printf '%s\n' "$@" | grep -qvxF -f <(drv state); }
setup_ended() {  # setup_ended [DRIVER COMMAND...]: after it, the dialog is gone and the
  # program ended with exit code 0; a program left over is killed
  [ $# = 0 ] || drv "$@" >/dev/null
  drv closed >/dev/null || { note "the dialog stayed"; kill -9 "$SETUP_PID" 2>/dev/null; }
  exits_with 0 "$SETUP_PID" 20
}
reg_export() { wine reg export 'HKCU\Software\Vantrel' "$1" /y >/dev/null 2>&1; }
# The settings byte for byte and type for type as reg_export wrote them to $WORK/before.reg.
settings_as_before() { rm -f "$WORK/now.reg"; reg_export "$WORK/now.reg"; cmp -s "$WORK/before.reg" "$WORK/now.reg"; }
values_are() {  # values_are NAME "TYPE DATA" [NAME "TYPE DATA"]...
  while [ $# -ge 2 ]; do
    [ "$(reg_query "$settings_key" /v "$1" | sed -n "s/^ *$1 \+\(REG_[A-Z_]*\) *\(.*\)/\1 \2/p")" = "$2" ] || return 1
    shift 2
  done
}
reg_store() {  # reg_store NAME=VALUE...: these settings and no others ("MP3 Sound" is text)
  local setting type
  reg_clear
  for setting in "$@"; do
    [ "${setting%%=*}" = "MP3 Sound" ] && type=REG_SZ || type=REG_DWORD
    wine reg add "$settings_key" /v "${setting%%=*}" /t $type /d "${setting#*=}" /f >/dev/null 2>&1
  done
}
# --- end of setup dialog --------------------------------------------------------

# --- sound: tone files and captured sound ---------------------------------------
tone_file() {  # tone_file NAME HZ[:SECONDS][,HZ:SECONDS]... RATE CHANNELS LAME-ARGS...:
  # $WORK/NAME.mp3, a sine of each frequency in turn (1 s if no time is given).
  # Whole periods in each part: looped without a cut or padding it is one unbroken sine.
  local name=$1 rate=$3 channels=$4 part hz seconds synth=()
  for part in ${2//,/ }; do
    IFS=: read -r hz seconds <<<"$part"
    synth+=(${synth[0]:+:} synth "${seconds:-1}" sine "$hz" vol 0.5)
  done
  sox -n -r "$rate" -c "$channels" "$WORK/$name.wav" "${synth[@]}" &&
    lame --quiet "${@:5}" "$WORK/$name.wav" "$WORK/$name.mp3"
}
capture_home() {  # capture_home DIR: a HOME whose ALSA sound goes to DIR/capture.raw
  mkdir -p "$1"
  printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' "$1/capture.raw" >"$1/.asoundrc"
}
capture_size() { stat -c %s "$1/capture.raw" 2>/dev/null || echo 0; }  # capture_size HOME
stuck_capture_home() {  # stuck_capture_home DIR: a HOME whose sound output takes 300 kB and
  # then no more, as a hung driver does: ALSA's file plugin writes into a pipe that stops being read
  capture_home "$1" && mkfifo "$1/capture.raw" &&
    start_bg E2E_READER bash -c "exec <'$1/capture.raw'; head -c 300000 >/dev/null; touch '$1/read'; exec sleep 120"
}
# output_stuck DIR PID: that output's reader has stopped and a thread of PID waits on the full pipe
output_stuck() { [ -e "$1/read" ] && grep -qs pipe_write /proc/"$2"/task/*/wchan; }
# The sound stack a process has loaded, and its threads, one name a line.
audio_modules() { grep -oiE '(winealsa|winepulse|wineoss|mmdevapi|l3codeca)[^/]*$' "/proc/$1/maps" | sort -u; }
thread_names() { cat /proc/"$1"/task/*/comm 2>/dev/null | sort; }
# --- end of sound ---------------------------------------------------------------
