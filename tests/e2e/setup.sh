#!/usr/bin/env bash
# The setup dialog as a user meets it: the stored values shown, the up-down
# controls and keys, OK storing what the controls show, Escape and Cancel
# storing nothing, the file chooser, and the music following the controls.
# SetupDriver names the controls after what they show (ops, rps, path,
# ops-spin, rps-spin, blur, music, browse, ok, cancel).
#   setup.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}
VK_TAB=9; VK_ESCAPE=27; VK_UP=38; VK_DOWN=40

note "defaults: nothing stored (music on, no file)"
reg_clear
open_setup
check "boxes show 1 and 0.6, up-downs at 10 and 6, both ticked, focus on the first box" \
  wait_until 10 state_has "ops=1" "rps=0.6" "path=" "ops-spin=10" "rps-spin=6" \
  "blur=1" "music=1" "focus=ops"
placeholder=$(drv state | sed -n 's/^placeholder=//p')
check "the preview covers the hidden placeholder exactly" state_has "preview=${placeholder% *}" "placeholder=${placeholder% *} 0"
order=ops
for _ in 1 2 3 4 5 6 7 8; do
  drv key $VK_TAB
  order="$order $(drv state | sed -n 's/^focus=//p')"
done
check "Tab walks ops rps blur ok cancel path browse music and round ($order)" \
  test "$order" = "ops rps blur ok cancel path browse music ops"
drv key $VK_UP 2
check "arrow keys step the focused box: 1.20000 at 12" wait_until 10 state_has "ops=1.20000" "ops-spin=12"
drv key $VK_TAB; drv key $VK_DOWN
check "and the next: 0.50000 at 5" wait_until 10 state_has "focus=rps" "rps=0.50000" "rps-spin=5"
drv click blur; drv settext path 'C:\typed.mp3'
drv key $VK_ESCAPE
check "Escape ends the program" setup_ended
check "and stores nothing" test -z "$(reg_query "$settings_key" | grep REG_)"

note "stored values, OK unchanged"
reg_store "Motion Blur=5" OPS=23 RPS=100 'MP3 Sound=C:\old.mp3' bMusic=0
open_setup
check "shown: Motion Blur 5 unticked, 2.3 at 23, 10 at 100, the path, music off" \
  wait_until 10 state_has "blur=0" "ops=2.3" "ops-spin=23" "rps=10" "rps-spin=100" \
  "path=C:\\old.mp3" "music=0"
drv spin rps-spin up 2
check "the range stops at 100" wait_until 10 state_has "rps-spin=100"
drv click ok
check "OK ends the program" setup_ended
check "and stores what was shown" values_are "Motion Blur" "REG_DWORD 0x0" OPS "REG_DWORD 0x17" \
  RPS "REG_DWORD 0x64" "MP3 Sound" 'REG_SZ C:\old.mp3' bMusic "REG_DWORD 0x0"

note "steps, a refused number, a tiny one, a typed path"
reg_store OPS=7 RPS=1 bMusic=0
open_setup
drv spin ops-spin up
check "one step up from 0.7 shows 0.80000 at 8" wait_until 10 state_has "ops=0.80000" "ops-spin=8"
drv spin rps-spin down 3
check "the range stops at 0" wait_until 10 state_has "rps=0.00000" "rps-spin=0"
drv settext rps abc; drv click ok
box=$(drv msgbox)
check "OK refuses text that is no number ($(tr '\n' ';' <<<"$box"))" \
  test "$box" = $'caption=Ferrovane ScreenSaver\ntext=Please enter a number.'
check "the dialog stays, the focus on the box" state_has "focus=rps" "rps=abc"
drv settext rps 1e-400; drv settext path 'C:\typed.mp3'; drv click ok
check "a number too small for a float is taken as one" setup_ended
check "OK stored OPS 8, RPS 0 and the typed path" values_are OPS "REG_DWORD 0x8" RPS "REG_DWORD 0x0" \
  "MP3 Sound" 'REG_SZ C:\typed.mp3'

note "Cancel after changes"
reg_store "Motion Blur=0" OPS=33 RPS=44 'MP3 Sound=C:\old.mp3' bMusic=0
reg_export "$WORK/before.reg"
open_setup
drv spin ops-spin up 2; drv spin rps-spin down; drv click blur; drv click music; drv settext path 'C:\new.mp3'
check "the changes show" wait_until 10 state_has "ops=3.50000" "rps=4.30000" "blur=1" "music=1"
drv click cancel
check "Cancel ends the program" setup_ended
reg_export "$WORK/after.reg"
check "the registry is byte for byte as it was" cmp "$WORK/before.reg" "$WORK/after.reg"

# The music: lead.mp3 is 0.5 s of 440 Hz, then 5.5 s of 660 Hz, so that music
# cut off anywhere but in its first half second resumes at 660 Hz, not 440.
tone_file tone440 440 44100 2 -b 128; tone_file lead 440:0.5,660:5.5 44100 2 -b 128
tone440=$(winepath -w "$WORK/tone440.mp3"); lead=$(winepath -w "$WORK/lead.mp3")
# Music plays exactly while the program holds an output device, whose sound goes to $cap.
devices() { ls -l "/proc/$SETUP_PID/fd" 2>/dev/null | grep -cF "$cap"; }
silent() { [ "$(devices)" = 0 ]; }
plays() {  # plays HZ: the last quarter second captured is that tone, on both channels
  tail -c 44100 "$cap" >"$WORK/recent.raw" 2>/dev/null &&
    "$analyzer" "$WORK/recent.raw" --expect-hz "$1" >/dev/null
}
restarts() {  # restarts COMMAND...: after it one device plays, opened afresh, its first 0.3 s 440 Hz
  rm -f "$cap"  # a device opened again makes a new file; one still open plays on unseen
  "$@" >/dev/null
  wait_until 10 eval '[ "$(stat -c %s "$cap" 2>/dev/null || echo 0)" -ge 52920 ]' || return 1
  head -c 52920 "$cap" >"$WORK/start.raw" && "$analyzer" "$WORK/start.raw" --expect-hz 440 >/dev/null &&
    [ "$(devices)" = 1 ]
}

note "music: Browse while it plays, Escape, a file chosen; untick, tick"
capture_home "$WORK/on"
cap="$WORK/on/capture.raw"
reg_store "MP3 Sound=$tone440" bMusic=1
open_setup "$WORK/on"
check "the preview plays the stored file" wait_until 10 plays 440
drv click browse
opened=$(drv filedialog)
check "Browse opens 'Open' on SoMe MP3z with one filter ($(tr '\n' ';' <<<"$opened"))" \
  test "$opened" = $'caption=Open\nfilename=SoMe MP3z\nfilter0=MP3 File (*.mp3)'
drv escape
check "Escape in it changes nothing" state_has "path=$tone440"
drv click browse; drv filedialog >/dev/null
check "a file chosen while music plays plays at once, from its beginning" restarts drv choose "$lead"
check "  ... fills the path box and plays on past 0.5 s" \
  wait_until 10 eval 'state_has "path=$lead" && plays 660'
drv click music
check "unticking the music box stops the music" wait_until 10 silent
check "ticking it plays the file again from its beginning" restarts drv click music
wait_until 10 plays 660
drv click browse; drv filedialog >/dev/null
check "choosing the playing file again restarts it" restarts drv choose "$lead"
drv click cancel
check "Cancel ends the program" setup_ended

note "music off: Browse, then tick the box, OK"
capture_home "$WORK/off"
cap="$WORK/off/capture.raw"
reg_store "MP3 Sound=$lead" bMusic=0
open_setup "$WORK/off"
drv click browse; drv choose "$tone440"
check "the chosen file fills the path box" wait_until 10 state_has "path=$tone440"
check "and nothing plays" silent
drv click music
check "ticking the box plays the preview's own file, not the chosen one" wait_until 10 plays 660
drv click ok
check "OK ends the program" setup_ended
check "and stores the chosen path, music on" values_are "MP3 Sound" "REG_SZ $tone440" bMusic "REG_DWORD 0x1"

finish
