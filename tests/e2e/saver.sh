#!/usr/bin/env bash
# Saver mode as a user meets it: the first run leaves an empty settings key;
# each spelling of the switch covers the screen with one window; the model
# shows below the centre on black and moves, at the frame timer's pace; keys
# and buttons end it, the wheel and a resting pointer do not.
. "$(dirname "$0")/lib.sh"

read -r W H < <(screen_size | tr 'x' ' ')
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# start_resting PIDVAR SWITCH: the pointer rests at 200,200 while the saver starts.
start_resting() {
  xdotool mousemove 200 200
  start_saver "$1" "$2"
  wait_for_saver_window 30
}
covers_screen() {
  [ "$(xdotool search --onlyvisible --class ferrovane | wc -l)" -eq 1 ] &&
    [ "$(window_geometry "$(saver_window)")" = "${W}x${H}+0+0" ]
}

# Where the camera puts the model: 4.8 px per scene unit at 768 lines, the
# pivot 20 units below the centre; with its bob it reaches about 80 units above
# the pivot, 37 below, 38 to either side. (A slow frame may stretch the trail
# upwards, so only the sides must be black.)
scale=$((H * 10 / 160))   # tenths of a pixel per unit
top=$((H / 2 - (58 * scale) / 10 - 20)); bottom=$((H / 2 + (57 * scale) / 10 + 20))
half=$(((40 * scale) / 10 + 20))
model_box="$((2 * half))x$((bottom - top))+$((W / 2 - half))+$top"
left_band="$((W / 2 - half - 20))x${H}+0+0"
lit_fraction() {  # lit_fraction FILE REGION: share of pixels brighter than near-black
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 6% -format '%[fx:mean]' info:
}

note "first run: /s with the pointer resting, fps traced"
reg_clear
check "no settings key before the first run" bash -c "! wine reg query 'HKCU\\Software\\Vantrel' >/dev/null 2>&1"
WINEDEBUG=$WINEDEBUG,fps start_resting pid /s
check "/s: one window over the whole screen" covers_screen
sleep 2
import -window root "$WORK/a.png"
sleep 0.5
import -window root "$WORK/b.png"
mkdir -p "${FERRO_ARTIFACTS:-$WORK}" && cp "$WORK/a.png" "${FERRO_ARTIFACTS:-$WORK}/saver-e2e.png"
for shot in a b; do
  lit=$(lit_fraction "$WORK/$shot.png" "$model_box")
  note "shot $shot: lit fraction in the model box $model_box: $lit"
  check "shot $shot: the model shows below the centre" above "$lit" 0.03
  check "shot $shot: black beside it" test "$(lit_fraction "$WORK/$shot.png" "$left_band")" = 0
done
changed=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" /dev/null 2>&1)
check "the picture moves ($changed pixels changed in 0.5 s)" above "${changed%% *}" 500
check "a resting pointer does not end it" still_running_after "$pid" 1
# Wine traces the rate every 1.5 s; the first line counts from start-up.
fps=$(grep -o 'approx [0-9.]*fps' "$WORK/bg.log" | tail -n 1 | tr -dc '0-9.')
check "it keeps its pace: $fps frames a second, at least 28 and at most 33" awk -v f="${fps:-0}" 'BEGIN { exit !(f >= 28 && f <= 33) }'
xdotool mousemove 201 200
check "a move of one pixel ends it" wait_for_exit "$pid" 10
tree=$(reg_query 'HKCU\Software\Vantrel' /s | sed '/^$/d' | tr '\n' ';')
check "the first run leaves the key chain with no values: $tree" test "$tree" = \
  'HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver;HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver\Config;'

reg_quiet_defaults
start_resting pid -s
check "-s: one window over the whole screen" covers_screen
xdotool key a
check "a key ends it" wait_for_exit "$pid" 10

start_resting pid S
check "S: one window over the whole screen" covers_screen
xdotool click 1
check "a left click ends it" wait_for_exit "$pid" 10

start_resting pid /s
xdotool click 4
check "a wheel step does not end it" still_running_after "$pid" 2
xdotool click 3
check "a right click ends it" wait_for_exit "$pid" 10

finish
