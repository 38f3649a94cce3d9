#!/usr/bin/env bash
# No DLL planted beside the saver is ever loaded. Windows looks in a program's
# own folder first for every DLL that is not a KnownDLL; Wine does the same
# when told to prefer a DLL found there over its own (native first). The saver
# is copied into a Downloads folder beside DLLs that leave a mark when loaded
# and run in every mode, as built and as on a Windows 7 without KB2533623 (no
# search flags, no SetDefaultDllDirectories): no mark is ever left, and the
# saver still draws, plays its music and opens its dialogs. The dialog's own
# libraries, comctl32 and comdlg32, are mapped only with the dialog.
#   planted-dlls.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}

# Not version.dll: Wine's user32 imports it as the program loads, before any
# code of the program runs. On Windows user32 is a KnownDLL, and what a
# KnownDLL imports never comes from the program's folder.
planted=(winmm msacm32 glu32 opengl32 uxtheme comctl32 comdlg32)
builds=("Ferrovane:as built" "FerrovaneNoSearchFlags:as on Windows 7 without KB2533623")
modes=("/s:saver_runs" "/c:setup_runs" "/p:preview_runs")

downloads=$WORK/Downloads
mkdir -p "$downloads"
for dll in "${planted[@]}"; do cp "$FERRO_WIN_BIN/PlantedDll.dll" "$downloads/$dll.dll"; done
# Native first for every planted name; a program that crashes ends at once
# rather than waiting in the debugger.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$(IFS=,; echo "${planted[*]}")=n,b;winedbg.exe=d"
marks() { (cd "$downloads" && ls -- *.mark 2>/dev/null) | sed 's/\.dll\.mark$//I' | tr 'A-Z' 'a-z' | sort | paste -sd ' '; }

cp "$FERRO_WIN_BIN/LoadByName.exe" "$downloads/"
wine "$downloads/LoadByName.exe" "${planted[@]/%/.dll}" >>"$WORK/bg.log" 2>&1
check "control: a program in that folder loading them by name takes every planted DLL ($(marks))" \
  test "$(marks)" = "$(printf '%s\n' "${planted[@]}" | sort | paste -sd ' ')"
rm -f "$downloads"/*.mark "$downloads/LoadByName.exe"

tone_file tone 440 44100 2 -b 128
reg_store bMusic=1 "MP3 Sound=$(winepath -w "$WORK/tone.mp3")"
plays() {  # plays HOME: 0.75 s of sound captured, and it is the tone
  local home=$1 heard
  wait_until 30 eval '[ "$(capture_size "$home")" -gt 132300 ]' &&
    heard=$("$analyzer" "$home/capture.raw" --expect-hz 440 --min-seconds 0.5) ||
    { note "no music: $(capture_size "$home") bytes captured"; sed 's/^/#   /' <<<"${heard:-}"; return 1; }
}

# libraries_are FILE LIBRARIES: which of the dialog's libraries a module list
# (a process's maps) names; a list that does not even name kernel32 was not read.
libraries_are() {
  local named; named=$(grep -oiE '(comctl32|comdlg32)\.dll' "$1" | tr 'A-Z' 'a-z' | sort -u | paste -sd ' ')
  grep -qi 'kernel32\.dll' "$1" && [ "$named" = "$2" ] || { note "dialog libraries mapped: ${named:-none}, not ${2:-none}"; return 1; }
}
maps_are() { cat "/proc/$1/maps" >"$WORK/maps" 2>/dev/null; libraries_are "$WORK/maps" "$2"; }  # maps_are PID LIBRARIES

# Each mode with the sound captured in HOME; each fails naming what did not happen.
saver_runs() {  # the model shows and the music plays, without the dialog's libraries; a key ends it
  local pid shown=0
  HOME=$1 saver_up pid /s && wait_until 20 drawn planted || { note "no model on the screen"; shown=1; }
  plays "$1" || shown=1
  maps_are "$pid" "" || shown=1
  xdotool key a
  exits_with 0 "$pid" 20 || { note "a key did not end it"; shown=1; }
  return "$shown"
}
setup_runs() {  # the dialog shows its values and the file dialog, each library with its own; the preview plays
  local shown=0
  open_setup "$1"
  wait_until 10 state_has "ops-spin=10" "rps-spin=6" || { note "no dialog with its values"; shown=1; }
  plays "$1" || shown=1
  maps_are "$SETUP_PID" comctl32.dll || shown=1
  [ "$(drv click browse + filedialog | sed -n 1p)" = "caption=Open" ] || { note "no file dialog"; shown=1; }
  maps_are "$SETUP_PID" "comctl32.dll comdlg32.dll" || shown=1
  setup_ended escape + click cancel || { note "Cancel did not end it"; shown=1; }
  return "$shown"
}
preview_runs() {  # a child fills the host's window until the music has played, and ends with it
  HOME=$1 timeout 90 wine "$FERRO_WIN_BIN/PreviewHost.exe" "$(winepath -w "$SCR")" \
    "$(winepath -w "$1/capture.raw")" 132300 >"$WORK/host.log" 2>&1 ||
    { sed 's/^/#   /' "$WORK/host.log"; return 1; }
  grep -a '^modules:' "$WORK/host.log" >"$WORK/modules"
  plays "$1" && libraries_are "$WORK/modules" ""
}

for build in "${builds[@]}"; do
  cp "$FERRO_WIN_BIN/${build%%:*}.scr" "$downloads/Ferrovane.scr"
  SCR=$downloads/Ferrovane.scr
  for mode in "${modes[@]}"; do
    home=$WORK/home-${build%%:*}-${mode:1:1}
    capture_home "$home"
    check "${build#*:}, ${mode%%:*}: the saver runs, the dialog's libraries only with the dialog" "${mode#*:}" "$home"
    check "${build#*:}, ${mode%%:*}: no planted DLL is loaded ($(marks))" test -z "$(marks)"
    rm -f "$downloads"/*.mark
  done
done

finish
