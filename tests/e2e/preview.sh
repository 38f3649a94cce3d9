#!/usr/bin/env bash
# Preview mode: a visible child exactly over the host's client area, gone with
# its parent; handles that name no window end the program at once.
. "$(dirname "$0")/lib.sh"

reg_quiet_defaults
scr_win=$(winepath -w "$SCR")

run_host() {  # run_host [suffix]
  local log="$WORK/host${1:-}.log"
  timeout 90 wine "$FERRO_WIN_BIN/PreviewHost.exe" "$scr_win" "$@" >"$log" 2>&1
  local rc=$?
  sed 's/^/  /' "$log"
  return $rc
}

check "preview fills its parent and ends with it" run_host
check "a handle followed by letters (1234xyz) is read as its number" run_host xyz

ends_quickly_with_failure() {  # the arguments after /p
  start_saver pid /p "$@"
  wait_for_exit "$pid" 15 || return 1
  wait "$pid"
  local rc=$?
  note "exit code $rc"
  [ "$rc" -ne 0 ] && ! has_saver_window
}
check "/p without a handle ends at once" ends_quickly_with_failure
check "/p 0 ends at once" ends_quickly_with_failure 0
check "/p with a handle that names no window ends at once" ends_quickly_with_failure 987654
check "/p with text instead of a handle ends at once" ends_quickly_with_failure abc

finish
