#!/usr/bin/env bash
# Saver mode from each spelling of the switch: one visible top-most window
# covering the whole screen, ended by a key press.
. "$(dirname "$0")/lib.sh"

reg_quiet_defaults
screen=$(screen_size)

for switch in /s -s S; do
  note "switch $switch"
  xdotool mousemove 5 5
  start_saver pid "$switch"
  check "$switch: a visible saver window appears" wait_for_saver_window 30
  win=$(saver_window)
  check "$switch: exactly one visible saver window" \
    test "$(xdotool search --onlyvisible --class ferrovane | wc -l)" -eq 1
  check "$switch: the window covers the screen ($screen+0+0)" \
    test "$(window_geometry "$win")" = "$screen+0+0"
  check "$switch: still running while left alone" still_running_after "$pid" 2
  xdotool key --window "$win" a 2>/dev/null || xdotool key a
  check "$switch: a key press ends the saver" wait_for_exit "$pid" 10
  check "$switch: no saver window is left" wait_until 10 bash -c '! xdotool search --onlyvisible --class ferrovane >/dev/null 2>&1'
done

finish
