#!/usr/bin/env bash
# The setup dialog shows the stored settings, its up-down controls step the
# rate boxes within 0..100 tenths, and OK stores what the controls show.
. "$(dirname "$0")/setup_lib.sh"

note "defaults: nothing stored (music on with no file: silent)"
reg_clear
open_setup
check "boxes show 1 and 0.6, up-downs at 10 and 6, both boxes ticked, focus on 1000" \
  wait_until 10 state_has "text1000=1" "text1002=0.6" "text1013=" "pos1009=10" "pos1010=6" \
            "check1008=1" "check1015=1" "focus=1000"
check "the preview exists and covers the hidden placeholder exactly" \
  state_has "preview=1" "placeholdervisible=0" "previewrect=$(field placeholderrect)"
drv click 2 >/dev/null
check "Cancel ends the program" setup_ended
check "and writes no value" bash -c "! wine reg query '$settings_key' /v OPS >/dev/null 2>&1"

note "a stored OPS of 7, one step up, OK"
reg_five 1 7 6 "" 0
open_setup
check "OPS 7 shows 0.7 at position 7" wait_until 10 state_has "text1000=0.7" "pos1009=7"
drv spin 1009 up >/dev/null
check "one step up shows 0.80000 at position 8" wait_until 10 state_has "text1000=0.80000" "pos1009=8"
check "the other box is untouched" state_has "text1002=0.6" "pos1010=6"
drv click 1 >/dev/null
check "OK ends the program" setup_ended
check "OK stored OPS 8" value_is OPS "REG_DWORD 0x8"
check "and RPS 6 as loaded" value_is RPS "REG_DWORD 0x6"

note "the range stops at 0 and 100"
reg_five 1 0 100 "" 0
open_setup
check "OPS 0 and RPS 100 show at positions 0 and 100" \
  wait_until 10 state_has "text1000=0" "pos1009=0" "text1002=10" "pos1010=100"
drv spin 1009 down 3 >/dev/null
drv spin 1010 up 3 >/dev/null
drv spin 1010 down >/dev/null
check "below 0 and above 100 do not wrap" wait_until 10 state_has "pos1009=0" "pos1010=99" "text1002=9.90000"
drv spin 1010 up 2 >/dev/null
check "back at the top" wait_until 10 state_has "pos1010=100" "text1002=10.00000"
drv click 1 >/dev/null
check "OK ends the program" setup_ended
check "OK stored OPS 0 and RPS 100" bash -c '. "$0"; value_is OPS "REG_DWORD 0x0" && value_is RPS "REG_DWORD 0x64"' "$(dirname "$0")/setup_lib.sh"

note "a stored Motion Blur of 5"
reg_five 5 10 6 "" 0
open_setup
check "shows an unticked box" wait_until 10 state_has "check1008=0"
drv click 1 >/dev/null
check "OK ends the program" setup_ended
check "OK stored Motion Blur 0" value_is "Motion Blur" "REG_DWORD 0x0"

note "OK with unchanged controls writes back the five values loaded"
reg_clear
reg_set_dword "Motion Blur" 0
reg_set_dword OPS 23
reg_set_dword RPS 100
wine reg add "$settings_key" /v bMusic /t REG_BINARY /d 00000000 /f >/dev/null 2>&1
open_setup
check "the dialog shows them" wait_until 10 state_has "check1008=0" "text1000=2.3" "text1002=10" "check1015=0" "text1013="
drv click 1 >/dev/null
check "OK ends the program" setup_ended
loaded_values_written_back() {
  value_is "Motion Blur" "REG_DWORD 0x0" && value_is OPS "REG_DWORD 0x17" &&
    value_is RPS "REG_DWORD 0x64" && value_is bMusic "REG_DWORD 0x0" &&
    [ "$(reg_value "MP3 Sound")" = "REG_SZ " ] && return 0
  reg_query "$settings_key" | sed 's/^/    stored: /'
  return 1
}
check "Motion Blur 0, OPS 23, RPS 100, bMusic 0 as a REG_DWORD, an empty path" loaded_values_written_back

note "garbage in a rate box is not saved"
reg_five 1 7 6 "" 0
reg_dump "$WORK/before.reg"
open_setup
drv settext 1000 abc >/dev/null
drv click 1 >/dev/null
box=$(drv msgbox)
note "message box: $(echo "$box" | tr '\n' ';')"
check "OK is refused with the framework's message" \
  grep -qxF "text=Please enter a number." <<<"$box"
check "captioned with the program's name" grep -qxF "caption=Ferrovane ScreenSaver" <<<"$box"
check "the dialog stays open with the focus on the box" wait_until 10 state_has "focus=1000" "text1000=abc"
drv click 2 >/dev/null
check "Cancel ends the program" setup_ended
reg_dump "$WORK/after.reg"
check "the registry is as it was" cmp -s "$WORK/before.reg" "$WORK/after.reg"

finish
