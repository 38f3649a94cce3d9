#!/usr/bin/env bash
# The setup dialog as a user meets it: the stored values shown, the up-down
# controls and keys, OK storing what the controls show, Escape and Cancel
# storing nothing, the file chooser, and the music following the controls.
#   setup.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}
VK_TAB=9; VK_ESCAPE=27; VK_UP=38; VK_DOWN=40

note "defaults: nothing stored (music on, no file)"
reg_clear
open_setup
check "boxes show 1 and 0.6, up-downs at 10 and 6, both ticked, focus on 1000" \
  wait_until 10 state_has "text1000=1" "text1002=0.6" "text1013=" "pos1009=10" "pos1010=6" \
  "check1008=1" "check1015=1" "focus=1000"
placeholder=$(drv state | sed -n 's/^placeholder=//p')
check "the preview covers the hidden placeholder exactly" state_has "preview=${placeholder% *}" "placeholder=${placeholder% *} 0"
order=1000
for _ in 1 2 3 4 5 6 7 8; do
  drv key $VK_TAB
  order="$order $(drv state | sed -n 's/^focus=//p')"
done
check "Tab walks 1000 1002 1008 OK Cancel 1013 1014 1015 and round ($order)" \
  test "$order" = "1000 1002 1008 1 2 1013 1014 1015 1000"
drv key $VK_UP 2
check "arrow keys step the focused box: 1.20000 at 12" wait_until 10 state_has "text1000=1.20000" "pos1009=12"
drv key $VK_TAB; drv key $VK_DOWN
check "and the next: 0.50000 at 5" wait_until 10 state_has "focus=1002" "text1002=0.50000" "pos1010=5"
drv click 1008; drv settext 1013 'C:\typed.mp3'
drv key $VK_ESCAPE
check "Escape ends the program" setup_ended
check "and stores nothing" test -z "$(reg_query "$settings_key" | grep REG_)"

note "stored values, OK unchanged"
reg_five 5 23 100 'C:\old.mp3' 0
open_setup
check "shown: Motion Blur 5 unticked, 2.3 at 23, 10 at 100, the path, music off" \
  wait_until 10 state_has "check1008=0" "text1000=2.3" "pos1009=23" "text1002=10" "pos1010=100" \
  "text1013=C:\\old.mp3" "check1015=0"
drv spin 1010 up 2
check "the range stops at 100" wait_until 10 state_has "pos1010=100"
drv click 1
check "OK ends the program" setup_ended
check "and stores what was shown" values_are "Motion Blur" "REG_DWORD 0x0" OPS "REG_DWORD 0x17" \
  RPS "REG_DWORD 0x64" "MP3 Sound" 'REG_SZ C:\old.mp3' bMusic "REG_DWORD 0x0"

note "steps, a refused number, a tiny one"
reg_five 1 7 1 "" 0
open_setup
drv spin 1009 up
check "one step up from 0.7 shows 0.80000 at 8" wait_until 10 state_has "text1000=0.80000" "pos1009=8"
drv spin 1010 down 3
check "the range stops at 0" wait_until 10 state_has "text1002=0.00000" "pos1010=0"
drv settext 1002 abc; drv click 1
box=$(drv msgbox)
check "OK refuses text that is no number ($(tr '\n' ';' <<<"$box"))" \
  test "$box" = $'caption=Ferrovane ScreenSaver\ntext=Please enter a number.'
check "the dialog stays, the focus on the box" state_has "focus=1002" "text1002=abc"
drv settext 1002 1e-400; drv click 1
check "a number too small for a float is taken as one" setup_ended
check "OK stored OPS 8 and RPS 0" values_are OPS "REG_DWORD 0x8" RPS "REG_DWORD 0x0"

note "Cancel after changes"
reg_five 0 33 44 'C:\old.mp3' 0
reg_export "$WORK/before.reg"
open_setup
drv spin 1009 up 2; drv spin 1010 down; drv click 1008; drv click 1015; drv settext 1013 'C:\new.mp3'
check "the changes show" wait_until 10 state_has "text1000=3.50000" "text1002=4.30000" "check1008=1" "check1015=1"
drv click 2
check "Cancel ends the program" setup_ended
reg_export "$WORK/after.reg"
check "the registry is byte for byte as it was" cmp "$WORK/before.reg" "$WORK/after.reg"

note "music: Browse while it plays, untick, tick, Cancel"
tone_file tone440 440 44100 2 -b 128; tone_file tone660 660 44100 2 -b 128
tone440=$(winepath -w "$WORK/tone440.mp3"); tone660=$(winepath -w "$WORK/tone660.mp3")
capture_home "$WORK/on"
cap="$WORK/on/capture.raw"
size() { stat -c %s "$cap" 2>/dev/null || echo 0; }
grows() {  # the capture grows within a few seconds
  local before; before=$(size)
  wait_until 10 bash -c '[ "$(stat -c %s "$0" 2>/dev/null || echo 0)" -gt "$1" ]' "$cap" "$before"
}
stays() {  # the capture stops growing: same size over 1.5 s, after a moment to settle
  sleep 0.5; local before; before=$(size); sleep 1.5; [ "$(size)" = "$before" ]
}
plays() {  # plays HZ: the last second captured is that tone, within 3 Hz
  tail -c 176400 "$cap" >"$WORK/recent.raw"
  local hz; hz=$("$analyzer" "$WORK/recent.raw" --rate 44100 --channels 2 | awk '/^dominant_hz/ { printf "%d", $2 + 0.5 }')
  note "playing ${hz:-nothing} Hz"
  [ -n "$hz" ] && [ $((hz - $1)) -le 3 ] && [ $(($1 - hz)) -le 3 ]
}
reg_five 1 10 6 "$tone440" 1
open_setup "$WORK/on"
check "the preview plays the stored file" grows
sleep 1
check "at 440 Hz" plays 440
drv click 1014
opened=$(drv filedialog)
check "Browse opens 'Open' on SoMe MP3z with one filter ($(tr '\n' ';' <<<"$opened"))" \
  test "$opened" = $'caption=Open\nfilename=SoMe MP3z\nfilter0=MP3 File (*.mp3)'
drv choose "$tone660"
check "a chosen file fills the path box" wait_until 10 state_has "text1013=$tone660"
sleep 2
check "and plays at once" plays 660
drv click 1015
check "unticking the music box stops the music" stays
drv click 1015
check "ticking it plays again" grows
drv click 2
check "Cancel ends the program" setup_ended
check "and the music" stays

note "music off: Browse, then tick the box, OK"
capture_home "$WORK/off"
cap="$WORK/off/capture.raw"
reg_five 1 10 6 "$tone440" 0
open_setup "$WORK/off"
drv click 1014; drv choose "$tone660"
check "the chosen file fills the path box" wait_until 10 state_has "text1013=$tone660"
check "and nothing plays" stays
drv click 1015
sleep 2
check "ticking the box plays the preview's own file, not the chosen one" plays 440
drv click 1
check "OK ends the program" setup_ended
check "and stores the chosen path, music on" values_are "MP3 Sound" "REG_SZ $tone660" bMusic "REG_DWORD 0x1"

finish
