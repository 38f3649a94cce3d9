#!/usr/bin/env bash
# What ends the full-screen saver and what does not.
. "$(dirname "$0")/lib.sh"

reg_quiet_defaults

# Starts the saver with the pointer resting at 200,200 and waits for its window.
start_resting_saver() {
  xdotool mousemove 200 200
  start_saver "$1" /s
  wait_for_saver_window 30 || return 1
  still_running_after "${!1}" 1
}

note "a left click"
start_resting_saver pid
check "saver started" alive "$pid"
xdotool click 1
check "a mouse click ends the saver" wait_for_exit "$pid" 10

note "a right click"
start_resting_saver pid
xdotool click 3
check "a right click ends the saver" wait_for_exit "$pid" 10

note "a wheel step"
start_resting_saver pid
xdotool click 4
check "a wheel step does not end the saver" still_running_after "$pid" 3
xdotool key Escape
check "Escape ends it afterwards" wait_for_exit "$pid" 10

note "mouse moves"
# The window appears under the resting pointer: that is the first position it
# sees, and it must not end the saver; one pixel away from it must.
start_resting_saver pid
check "the first position seen does not end the saver" still_running_after "$pid" 3
xdotool mousemove 201 200
check "a move of one pixel after the first position ends it" wait_for_exit "$pid" 10

finish
