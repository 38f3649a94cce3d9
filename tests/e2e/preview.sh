#!/usr/bin/env bash
# Preview mode: a visible child exactly over the host's client area, gone with
# its parent; handles that name no window end the program at once.
. "$(dirname "$0")/lib.sh"

reg_quiet_defaults
scr_win=$(winepath -w "$SCR")

host_once() {  # host_once LOG [suffix]
  local log=$1; shift
  timeout 90 wine "$FERRO_WIN_BIN/PreviewHost.exe" "$scr_win" "$@" >"$log" 2>&1
}

run_host() {  # run_host [suffix]
  local log="$WORK/host${1:-}.log" rc
  host_once "$log" "$@"
  rc=$?
  # The host prints its command line before it starts the saver. Once in a
  # long while under load Wine lost the host itself before that line; the
  # saver was then never started, so that start alone is tried once more.
  if [ "$rc" -ne 0 ] && ! grep -q '^command:' "$log"; then
    note "the host never started the saver (exit code $rc): starting the host again"
    host_once "$log" "$@"
    rc=$?
  fi
  sed 's/^/  /' "$log"
  [ "$rc" -eq 0 ] || note "PreviewHost exit code $rc"
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
