#!/usr/bin/env bash
# The setup dialog's libraries, comctl32 and comdlg32, load only with the
# dialog: the saver and the preview never map them, while the dialog still
# shows its up-down controls and the system's open-file dialog.
. "$(dirname "$0")/lib.sh"

dialog_libraries() { grep -oiE '(comctl32|comdlg32)\.dll' "$1" | tr 'A-Z' 'a-z' | sort -u | paste -sd ' '; }
maps() { cat "/proc/$1/maps" >"$WORK/maps" 2>/dev/null; dialog_libraries "$WORK/maps"; }
# The list FILE names kernel32 (it was read) and neither library.
lists_neither() { grep -qi 'kernel32\.dll' "$1" && [ -z "$(dialog_libraries "$1")" ]; }
reg_quiet_defaults

start_saver saver /s
check "/s: the saver shows" wait_for_saver_window 30
check "/s: kernel32 is mapped, neither library is ($(maps "$saver"))" lists_neither "$WORK/maps"
xdotool key a
check "/s: a key ends the saver" wait_for_exit "$saver" 20

timeout 90 wine "$FERRO_WIN_BIN/PreviewHost.exe" "$(winepath -w "$SCR")" >"$WORK/host.log" 2>&1
grep '^modules:' "$WORK/host.log" | tr -d '\r' >"$WORK/modules"
check "/p: the preview shows, and neither library is loaded ($(dialog_libraries "$WORK/modules"))" \
  lists_neither "$WORK/modules"

open_setup
check "/c: the up-down controls show the stored values" wait_until 10 state_has "ops-spin=10" "rps-spin=6"
check "/c: comctl32 is mapped" test "$(maps "$SETUP_PID")" = "comctl32.dll"
opened=$(drv click browse + filedialog | sed -n 1p)
check "/c: Browse opens the system's file dialog ($opened), with comdlg32 mapped" \
  test "$opened $(maps "$SETUP_PID")" = "caption=Open comctl32.dll comdlg32.dll"
drv escape + click cancel >/dev/null
check "/c: Cancel ends the program" setup_ended

finish
