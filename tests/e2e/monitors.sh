#!/usr/bin/env bash
# Saver mode on two monitors side by side (a session of its own, see
# scripts/wine-session): the scene window covers the primary monitor as on one,
# one black top-most window covers each other monitor exactly. Through every
# change of displays (the primary's resolution, the other monitor detached and
# attached again left of the primary, the other monitor made the primary) the
# saver keeps running and follows, whether the pointer rested on the primary or
# on the other monitor, although the changes move the pointer and the windows
# under it; then a move of one pixel ends it with exit code 0. A side button,
# the pointer over a black window, ends it too (a key goes to the focused
# window wherever the pointer is: e2e.saver).
. "$(dirname "$0")/lib.sh"

scene=1024x768+0+0 cover=800x600+1024+0  # X coordinates: the X screen's top left is 0,0
layout() {  # layout DEVICE X Y WIDTH HEIGHT...: through the display settings, as a user would
  timeout 60 wine "$FERRO_WIN_BIN/DisplayLayout.exe" "$@" >>"$WORK/bg.log" 2>&1 ||
    note "DisplayLayout $* failed or did not return within 60 s (exit $?)"
}
windows() {  # the saver's visible windows, as WxH+X+Y, sorted
  local w
  for w in $(saver_windows); do window_geometry "$w"; done | sort | xargs
}
windows_are() { [ "$(windows)" = "$(printf '%s\n' "$@" | sort | xargs)" ]; }
all_topmost() {  # Wine marks the X window of a top-most window "above"
  local w
  for w in $(saver_windows); do xprop -id "$w" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || return 1; done
}
# start_at X Y: the first layout, the pointer resting at X,Y while the saver
# starts, until both windows show; the saver's process id in $pid.
start_at() {
  xrandr --output DUMMY0 --primary >/dev/null
  layout '\\.\DISPLAY1' 0 0 1024 768 '\\.\DISPLAY2' 1024 0 800 600
  xdotool mousemove "$1" "$2"
  start_saver pid /s
  wait_until 30 windows_are "$scene" "$cover"
}
black() { test "$(convert "$WORK/shot.png" -crop "$1" +repage -format '%[fx:maxima]' info:)" = 0; }
centred() {  # centred WxH+X+Y: something lit there, its middle within an eighth of the width
  local box x; box=$(convert "$WORK/shot.png" -crop "$1" +repage -format '%@' info:)  # lit: WxH+X+Y
  x=${box#*+}; x=$((${x%%+*} + ${box%%x*} / 2 - ${1%%x*} / 2)); [ "${x#-}" -le $((${1%%x*} / 8)) ]
}
shows() {  # shows SCENE [COVER...]: the scene over the primary, the model centred, each cover black
  local rect
  windows_are "$@" && import -window root "$WORK/shot.png" && centred "$1" || return 1
  for rect in "${@:2}"; do black "$rect" || return 1; done
}
# survives WHAT SCENE [COVER...]: after the change WHAT the saver shows that and
# is still running two seconds later, well after the change's pointer moves.
survives() {
  wait_until 15 shows "${@:2}" && still_running_after "$pid" 2 && return 0
  note "after $1: the saver $(alive "$pid" && echo runs || echo ended), windows: $(windows)," \
    "pointer: $(xdotool getmouselocation 2>&1)"
  return 1
}
# changes WHERE DX: every change of displays, the pointer having rested WHERE;
# then a move of DX (one pixel) ends it. A saver that ended is not tried further.
changes() {
  layout '\\.\DISPLAY1' 0 0 800 600
  check "$1: the primary at 800x600, the saver runs on" survives "a new resolution" 800x600+0+0 800x600+800+0
  alive "$pid" || return
  layout '\\.\DISPLAY2' 0 0 0 0
  check "$1: the other monitor detached, its cover goes" survives "a detach" 800x600+0+0
  alive "$pid" || return
  layout '\\.\DISPLAY2' -800 0 800 600  # X has no negative coordinates: it shifts the primary right
  check "$1: attached again left of the primary, at negative coordinates, covered again" \
    survives "an attach on the left" 800x600+800+0 800x600+0+0
  alive "$pid" || return
  # Wine 8 ignores CDS_SET_PRIMARY: X names the primary, the display settings place both.
  xrandr --output DUMMY1 --primary >/dev/null
  layout '\\.\DISPLAY1' 0 0 800 600 '\\.\DISPLAY2' 800 0 1024 768
  check "$1: the other monitor made the primary, the scene moves onto it" \
    survives "a new primary" 800x600+0+0 1024x768+800+0
  alive "$pid" || return
  xdotool mousemove_relative -- "$2" 0
  check "$1: then a move of one pixel ends it, exit code 0" exits_with 0 "$pid"
}

reg_store bMusic=0
xsetroot -solid '#808080'  # the desktop, where nothing covers it: never black

start_at 400 300
check "the scene window over the primary, one window over the second monitor: $(windows)" \
  windows_are "$scene" "$cover"
check "both are top-most" all_topmost
import -window root "$WORK/shot.png"
check "the second monitor is black" black "$cover"
changes "pointer on the primary" 1  # from the scene onto the cover

start_at 1300 300
changes "pointer on the other monitor" -1  # within the scene

start_at 1300 300
xdotool click 8
check "a side button on the black window ends it, exit code 0" exits_with 0 "$pid"

finish
