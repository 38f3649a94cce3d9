#!/usr/bin/env bash
# Saver mode as a user meets it: the first run leaves an empty settings key;
# each spelling of the switch covers the screen with one window; the model
# shows, moves and trails as the stored settings say (its pace: scripts/bench); keys,
# buttons and the wheel end it, a resting pointer does not.
. "$(dirname "$0")/lib.sh"

# The saver's start with the pointer resting (saver_up), its windows
# (covers_screen) and screenshots (shoot, drawn): lib.sh. Where the model
# stands, its trail and its pixels are ScenePixelsTest's: here, what the
# stored settings do.
field() { cut -d' ' -f"$2" "$WORK/$1.box"; }  # field SHOT N: 1 left, 2 top, 3 right, 4 bottom
width() { echo $(($(field "$1" 3) - $(field "$1" 1))); }
differ() { compare -metric AE "$WORK/$1.png" "$WORK/$2.png" /dev/null 2>&1 | cut -d' ' -f1; }
# two_shots SWITCH OPS RPS BLUR [CHANGE]: the saver started with only these
# settings covers the screen with one window, shot once the model shows (s1),
# then again (s2) a second later, or until CHANGE, which shoots s2 itself,
# holds (false when it never does within 3 s); it runs on
two_shots() {
  reg_store OPS="$2" RPS="$3" "Motion Blur=$4" bMusic=0
  saver_up pid "$1" && covers_screen &&
    wait_until 20 drawn s1 && if [ -n "${5:-}" ]; then wait_until 3 "$5"; else sleep 1 && shoot s2; fi
}
shots() {  # shots N: N screenshots in a row, and count_trails over them
  local i
  for i in $(seq 1 "$1"); do import -window root "$WORK/t$i.png"; done
  count_trails "$WORK"/t?.png
}
bobbed() { shoot s2 && [ "$(field s1 4)" != "$(field s2 4)" ]; }  # s2 shot, the model's bottom moved

note "first run: /s with the pointer resting, the asset files spoilt"
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
for asset in MD3 TGA; do printf 'spoilt%20000s' >"$temp/TarsolinRes$asset.$asset"; done  # longer than either
reg_clear
check "no settings key before the first run" bash -c "! wine reg query 'HKCU\\Software\\Vantrel' >/dev/null 2>&1"
saver_up pid /s
check "/s: one window over the whole screen" covers_screen
check "the model shows" wait_until 20 drawn a
for asset in md3 tga; do
  check "the $asset file in the temporary folder is written again" cmp "$FERRO_ROOT/res/ferrovane.$asset" "$temp/TarsolinRes${asset^^}.${asset^^}"
done
mkdir -p "${FERRO_ARTIFACTS:-$WORK}" && cp "$WORK/a.png" "${FERRO_ARTIFACTS:-$WORK}/saver-e2e.png"
check "a resting pointer does not end it" still_running_after "$pid" 1
xdotool mousemove 201 200
check "a move of one pixel ends it" exits_with 0 "$pid"
tree=$(reg_query 'HKCU\Software\Vantrel' /s | sed '/^$/d' | tr '\n' ';')
check "the first run leaves the key chain with no values: $tree" test "$tree" = \
  'HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver;HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver\Config;'

note "the stored settings on screen, and what ends the saver"
check "-s: one window over the whole screen, the model shows (OPS 0, RPS 0, Motion Blur 1)" two_shots -s 0 0 1
check "OPS 0, RPS 0: still, the same picture 1 s later" test "$(differ s1 s2)" = 0
xdotool key a
check "a key ends it" exits_with 0 "$pid"

check "S: one window over the whole screen, the model shows (OPS 10, RPS 0, Motion Blur 1)" two_shots S 10 0 1
shots 8
check "Motion Blur 1: its trail beyond it, in $TRAILS of $LIT shots" test "$LIT" = 8 -a "$TRAILS" -gt 0
xdotool click 1
check "a left click ends it" exits_with 0 "$pid"

check "/s: one window over the whole screen, the model shows and bobs (OPS 10, RPS 0, Motion Blur 0)" \
  two_shots /s 10 0 0 bobbed
check "it bobs without turning: its width stays ($(cat "$WORK/s1.box"); $(cat "$WORK/s2.box"))" test "$(width s1)" = "$(width s2)"
shots 8
check "Motion Blur 0: no trail, in $TRAILS of $LIT shots" test "$LIT" = 8 -a "$TRAILS" = 0
xdotool click 4
check "a wheel step ends it" exits_with 0 "$pid"

finish
