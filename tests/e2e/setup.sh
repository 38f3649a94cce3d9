#!/usr/bin/env bash
# The setup dialog as a user meets it: the stored values shown, the up-down
# controls and keys, OK storing what the controls show, Escape and Cancel
# storing nothing (its music: setup-music.sh). SetupDriver names the controls
# after what they show (ops, rps, path, ops-spin, rps-spin, blur, music,
# browse, ok, cancel).
. "$(dirname "$0")/lib.sh"
VK_TAB=9; VK_ESCAPE=27; VK_UP=38; VK_DOWN=40

note "defaults: nothing stored (music on, no file)"
reg_clear
open_setup "$HOME"
check "boxes show 1 and 0.6, up-downs at 10 and 6, both ticked, focus on the first box" \
  wait_until 10 state_has "ops=1" "rps=0.6" "path=" "ops-spin=10" "rps-spin=6" \
  "blur=1" "music=1" "focus=ops"
placeholder=$(drv state | sed -n 's/^placeholder=//p')
check "the preview covers the hidden placeholder exactly" state_has "preview=${placeholder% *}" "placeholder=${placeholder% *} 0"
walk=()
for _ in 1 2 3 4 5 6 7 8; do walk+=(key $VK_TAB + state +); done
order=$(drv "${walk[@]}" | sed -n 's/^focus=//p' | paste -sd ' ')
check "Tab walks from ops to rps blur ok cancel path browse music and round ($order)" \
  test "$order" = "rps blur ok cancel path browse music ops"
drv key $VK_UP 2
check "arrow keys step the focused box: 1.20000 at 12" wait_until 10 state_has "ops=1.20000" "ops-spin=12"
drv key $VK_TAB + key $VK_DOWN
check "and the next: 0.50000 at 5" wait_until 10 state_has "focus=rps" "rps=0.50000" "rps-spin=5"
drv click blur + settext path 'C:\typed.mp3'
check "Escape ends the program" setup_ended key $VK_ESCAPE
check "and stores nothing" test -z "$(reg_query "$settings_key" | grep REG_)"

note "stored values, OK unchanged"
open_setup "$HOME" "Motion Blur=5" OPS=23 RPS=99 'MP3 Sound=C:\old.mp3' bMusic=0
check "shown: Motion Blur 5 unticked, 2.3 at 23, 9.9 at 99, the path, music off" \
  wait_until 10 state_has "blur=0" "ops=2.3" "ops-spin=23" "rps=9.9" "rps-spin=99" \
  "path=C:\\old.mp3" "music=0"
drv spin rps-spin up 2
check "the range stops at 100" wait_until 10 state_has "rps-spin=100"
check "OK ends the program" setup_ended click ok
check "and stores what it shows" values_are "Motion Blur" "REG_DWORD 0x0" OPS "REG_DWORD 0x17" \
  RPS "REG_DWORD 0x64" "MP3 Sound" 'REG_SZ C:\old.mp3' bMusic "REG_DWORD 0x0"

note "steps, a refused number, a tiny one, a typed path"
open_setup "$HOME" OPS=7 RPS=1 bMusic=0
drv spin ops-spin up
check "one step up from 0.7 shows 0.80000 at 8" wait_until 10 state_has "ops=0.80000" "ops-spin=8"
drv spin rps-spin down 3
check "the range stops at 0" wait_until 10 state_has "rps=0.00000" "rps-spin=0"
drv settext rps abc + click ok
box=$(drv msgbox)
check "OK refuses text that is no number ($(tr '\n' ';' <<<"$box"))" \
  test "$box" = $'caption=Ferrovane ScreenSaver\ntext=Please enter a number.'
check "the dialog stays, the focus on the box" state_has "focus=rps" "rps=abc"
check "a number too small for a float is taken as one" setup_ended settext rps 1e-400 + settext path 'C:\typed.mp3' + click ok
check "OK stored OPS 8, RPS 0 and the typed path" values_are OPS "REG_DWORD 0x8" RPS "REG_DWORD 0x0" \
  "MP3 Sound" 'REG_SZ C:\typed.mp3'

note "Cancel after changes"
reg_store "Motion Blur=0" OPS=33 RPS=44 'MP3 Sound=C:\old.mp3' bMusic=0
reg_export "$WORK/before.reg"
open_setup "$HOME"
drv spin ops-spin up 2 + spin rps-spin down + click blur + click music + settext path 'C:\new.mp3'
check "the changes show" wait_until 10 state_has "ops=3.50000" "rps=4.30000" "blur=1" "music=1"
check "Cancel ends the program" setup_ended click cancel
check "the registry is byte for byte as it was" settings_as_before

finish
