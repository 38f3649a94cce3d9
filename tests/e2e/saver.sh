#!/usr/bin/env bash
# Saver mode as a user meets it: the first run leaves an empty settings key;
# each spelling of the switch covers the screen with one window; the model
# shows, moves and trails as the stored settings say (its pace: scripts/bench); keys,
# buttons and the wheel end it, a resting pointer does not.
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

# Screenshots (shoot, drawn): lib.sh. Where the model stands, its trail and
# its pixels are ScenePixelsTest's: here, what the stored settings do.
lit_box() { cat "$WORK/$1.box"; }
field() { cut -d' ' -f"$2" "$WORK/$1.box"; }  # field SHOT N: 1 left, 2 top, 3 right, 4 bottom
width() { echo $(($(field "$1" 3) - $(field "$1" 1))); }
differ() { compare -metric AE "$WORK/$1.png" "$WORK/$2.png" /dev/null 2>&1 | cut -d' ' -f1; }
# two_shots SWITCH OPS RPS BLUR [CHANGE]: the saver started with only these
# settings, shot once the model shows (s1), then again (s2) a second later, or
# as soon as CHANGE holds (false when it never does within 3 s); it runs on
two_shots() {
  reg_store OPS="$2" RPS="$3" "Motion Blur=$4" bMusic=0
  start_resting pid "$1"
  wait_until 20 drawn s1 && if [ -n "${5:-}" ]; then wait_until 3 shoot_until "$5"; else sleep 1 && shoot s2; fi
}
shoot_until() { shoot s2 && "$1"; }
shots() {  # shots N: N screenshots in a row, and count_trails over them
  local i
  rm -f "$WORK"/t?.png
  for i in $(seq 1 "$1"); do import -window root "$WORK/t$i.png"; done
  count_trails "$WORK"/t?.png
}
bobbed() { [ "$(field s1 4)" != "$(field s2 4)" ]; }

note "first run: /s with the pointer resting, the asset files spoilt"
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
for asset in MD3 TGA; do printf 'spoilt%20000s' >"$temp/TarsolinRes$asset.$asset"; done  # longer than either
reg_clear
check "no settings key before the first run" bash -c "! wine reg query 'HKCU\\Software\\Vantrel' >/dev/null 2>&1"
start_resting pid /s
check "/s: one window over the whole screen" covers_screen
check "the model shows" wait_until 20 drawn a
for asset in md3 tga; do
  check "the $asset file in the temporary folder is written again" cmp "$FERRO_ROOT/res/ferrovane.$asset" "$temp/TarsolinRes${asset^^}.${asset^^}"
done
mkdir -p "${FERRO_ARTIFACTS:-$WORK}" && cp "$WORK/a.png" "${FERRO_ARTIFACTS:-$WORK}/saver-e2e.png"
check "a resting pointer does not end it" still_running_after "$pid" 1
xdotool mousemove 201 200
check "a move of one pixel ends it" wait_for_exit "$pid" 10
tree=$(reg_query 'HKCU\Software\Vantrel' /s | sed '/^$/d' | tr '\n' ';')
check "the first run leaves the key chain with no values: $tree" test "$tree" = \
  'HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver;HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver\Config;'

note "the stored settings on screen, and what ends the saver"
check "-s with OPS 0, RPS 0, Motion Blur 1: the model shows" two_shots -s 0 0 1
check "-s: one window over the whole screen" covers_screen
check "OPS 0, RPS 0: still, the same picture 1 s later" test "$(differ s1 s2)" = 0
xdotool key a
check "a key ends it" wait_for_exit "$pid" 10

check "S with OPS 10, RPS 0, Motion Blur 1: the model shows" two_shots S 10 0 1
check "S: one window over the whole screen" covers_screen
shots 8
check "Motion Blur 1: its trail beyond it, in $TRAILS of $LIT shots" test "$LIT" = 8 -a "$TRAILS" -gt 0
xdotool click 1
check "a left click ends it" wait_for_exit "$pid" 10

check "/s with OPS 10, RPS 0, Motion Blur 0: the model shows and bobs" two_shots /s 10 0 0 bobbed
check "it bobs without turning: its width stays ($(lit_box s1); $(lit_box s2))" test "$(width s1)" = "$(width s2)"
shots 8
check "Motion Blur 0: no trail, in $TRAILS of $LIT shots" test "$LIT" = 8 -a "$TRAILS" = 0
xdotool click 4
check "a wheel step ends it" wait_for_exit "$pid" 10

finish
