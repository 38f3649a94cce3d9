#!/usr/bin/env bash
# The setup dialog's template as the user meets it: layout and tab order, the
# keys of the dialog manager, and Cancel or Escape leaving the registry alone.
. "$(dirname "$0")/setup_lib.sh"

VK_TAB=9; VK_ESCAPE=27; VK_UP=38; VK_DOWN=40

note "layout: every control in template order, in dialog units"
reg_five 1 10 6 "" 0
open_setup
# The up-down controls size themselves beside their buddies; their width is the system's.
layout=$(drv layout | sed -E 's/^(10(09|10) msctls_updown32 [0-9a-f]+ [0-9]+,[0-9]+) [0-9]+x/\1 __x/')
expected=$(cat <<'TABLE'
dialog style=94c000c4 exstyle=00010181 caption=Ferrovane ScreenSaver
1000 Edit 10012881 31,15 40x14 "1"
1009 msctls_updown32 10000030 21,15 __x14 "Spin1"
-1 Static 10020000 74,18 72x8 "Oscilations per second"
1002 Edit 10012881 31,35 40x14 "0.6"
1010 msctls_updown32 10000030 21,35 __x14 "Spin1"
-1 Static 10020000 75,38 76x8 "Revolutions per second"
1008 Button 10010003 20,73 70x10 "Motion Blur"
1006 Static 00000000 10,150 215x85 ""
1 Button 10010001 5,300 50x14 "OK"
2 Button 10010000 181,300 50x14 "Cancel"
-1 Static 10020000 21,105 58x8 "Choose a MP3 file"
1013 Edit 10010080 21,115 140x14 ""
1014 Button 10010000 167,115 50x14 "Browse..."
1015 Button 10010003 21,135 103x10 "Enable/Disable MP3 sound"
-1 Button 10000007 15,95 205x55 "Sound Options"
-1 Button 10000007 16,60 205x30 "Effects Options"
-1 Button 10000007 16,5 205x50 "Physics Options"
TABLE
)
check "the template's controls, styles, places, sizes and texts" \
  test "$(head -n 18 <<<"$layout")" = "$expected"
[ "$(head -n 18 <<<"$layout")" = "$expected" ] || diff <(echo "$expected") <(head -n 18 <<<"$layout")
check "the preview comes last, over the placeholder" \
  grep -qE '^0 Ferrovane:[^ ]+ 10000000 10,150 215x85 ""$' <<<"$(sed -n 19p <<<"$layout")"

note "Tab walks the tab stops in template order"
order=$(drv state | sed -n 's/^focus=//p')
for _ in 1 2 3 4 5 6 7 8; do
  drv key $VK_TAB >/dev/null
  order="$order $(drv state | sed -n 's/^focus=//p')"
done
note "focus order: $order"
check "1000 1002 1008 OK Cancel 1013 1014 1015 and round again" \
  test "$order" = "1000 1002 1008 1 2 1013 1014 1015 1000"

note "arrow keys in a rate box step its up-down control"
check "focus back on the oscillations box" state_has "focus=1000"
drv key $VK_UP 2 >/dev/null
check "two steps up in 1000: 1.20000 at 12" wait_until 10 state_has "text1000=1.20000" "pos1009=12"
drv key $VK_TAB >/dev/null
drv key $VK_DOWN >/dev/null
check "one step down in 1002: 0.50000 at 5" wait_until 10 state_has "focus=1002" "text1002=0.50000" "pos1010=5"

note "Escape after changes"
reg_dump "$WORK/before.reg"
drv click 1008 >/dev/null
drv settext 1013 'C:\typed.mp3' >/dev/null
check "changes show" wait_until 10 state_has "check1008=0" "text1013=C:\\typed.mp3"
drv key $VK_ESCAPE >/dev/null
check "Escape ends the program" setup_ended
reg_dump "$WORK/after.reg"
check "the registry is byte for byte as it was" cmp -s "$WORK/before.reg" "$WORK/after.reg"

note "Cancel after changes"
reg_five 0 33 44 'C:\old.mp3' 0
reg_dump "$WORK/before.reg"
open_setup
drv spin 1009 up 2 >/dev/null
drv spin 1010 down >/dev/null
drv click 1008 >/dev/null
drv click 1015 >/dev/null
drv settext 1013 'C:\new.mp3' >/dev/null
check "changes show" wait_until 10 state_has "text1000=3.50000" "text1002=4.30000" "check1008=1" "check1015=1"
drv click 2 >/dev/null
check "Cancel ends the program" setup_ended
reg_dump "$WORK/after.reg"
check "the registry is byte for byte as it was" cmp -s "$WORK/before.reg" "$WORK/after.reg"

finish
