#!/usr/bin/env bash
# Saver mode on two monitors side by side (a session of its own, see
# scripts/wine-session): the scene window covers the primary monitor as on one,
# one black top-most window covers the second exactly and follows it when the
# display settings detach and attach it again; the pointer moving onto it, a
# side button on it or a key ends the saver with exit code 0. When the primary changes
# size, or the other monitor becomes the primary, the scene follows the primary.
. "$(dirname "$0")/lib.sh"

scene=1024x768+0+0 cover=800x600+1024+0
layout() { wine "$FERRO_WIN_BIN/DisplayLayout.exe" "$@" >>"$WORK/bg.log" 2>&1; }
saver_windows() { xdotool search --onlyvisible --class ferrovane; }
windows() {  # the saver's visible windows, as WxH+X+Y, sorted
  local w
  for w in $(saver_windows); do window_geometry "$w"; done | sort | xargs
}
windows_are() { [ "$(windows)" = "$*" ]; }
all_topmost() {  # Wine marks the X window of a top-most window "above"
  local w
  for w in $(saver_windows); do xprop -id "$w" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || return 1; done
}
ends_with_0() {  # a saver left running is ended, so that it cannot disturb the next run
  wait_for_exit "$1" 10 && wait "$1" && return 0
  kill -9 "$1" 2>/dev/null
  return 1
}
# start_at PIDVAR X Y: the pointer rests at X,Y while the saver starts, until both windows show.
start_at() {
  xdotool mousemove "$2" "$3"
  start_saver "$1" /s
  wait_until 30 windows_are "$scene" "$cover"
}

reg_quiet_defaults
xsetroot -solid '#808080'  # the desktop, where nothing covers it: never black

start_at pid 200 200
check "the scene window over the primary, one window over the second monitor: $(windows)" \
  windows_are "$scene" "$cover"
check "both are top-most" all_topmost
black() { test "$(convert "$WORK/shot.png" -crop "$1" +repage -format '%[fx:maxima]' info:)" = 0; }
centred() {  # centred WxH+X+Y: something lit there, its middle within an eighth of the width
  local box x; box=$(convert "$WORK/shot.png" -crop "$1" +repage -format '%@' info:)  # lit: WxH+X+Y
  x=${box#*+}; x=$((${x%%+*} + ${box%%x*} / 2 - ${1%%x*} / 2)); [ "${x#-}" -le $((${1%%x*} / 8)) ]
}
shows() {  # shows SCENE COVER: the scene over the primary, the model centred, one black cover
  windows_are $(printf '%s\n' "$1" "$2" | sort) && import -window root "$WORK/shot.png" &&
    centred "$1" && black "$2"
}
import -window root "$WORK/shot.png"
check "the second monitor is black" black "$cover"
layout '\\.\DISPLAY2' 0 0 0 0
check "the second monitor detached: its window goes, the saver stays" \
  eval 'wait_until 10 windows_are "$scene" && alive "$pid"'
layout '\\.\DISPLAY2' 1024 0 800 600
check "attached again: covered again" wait_until 10 windows_are "$scene" "$cover"
xdotool mousemove 1300 300
check "the pointer moving onto the black window ends it, exit code 0" ends_with_0 "$pid"

start_at pid 1300 300
xdotool key a
check "a key, the pointer over the black window, ends it, exit code 0" ends_with_0 "$pid"

start_at pid 1300 300
xdotool click 8
check "a side button on the black window ends it, exit code 0" ends_with_0 "$pid"

# The pointer starts on the second monitor: the X server then moves it onto the
# primary, where the scene takes it as the first position, not a move.
start_at pid 1300 300
layout '\\.\DISPLAY1' 0 0 640 480
check "the primary shrinks to 640x480: the scene follows it" wait_until 10 shows 640x480+0+0 800x600+640+0
xrandr --output DUMMY1 --primary >/dev/null
layout '\\.\DISPLAY1' 0 0 800 600 '\\.\DISPLAY2' 800 0 640 480
check "the other monitor becomes the primary: the scene moves onto it" wait_until 10 shows 800x600+0+0 640x480+800+0
xdotool key a
check "a key still ends it, exit code 0" ends_with_0 "$pid"

finish
