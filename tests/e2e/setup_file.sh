#!/usr/bin/env bash
# Browse... opens the system's open-file dialog over the setup dialog; the
# chosen file's full path fills the path box and is stored on OK.
. "$(dirname "$0")/setup_lib.sh"

reg_five 1 10 6 "" 0
open_setup
drv click 1014 >/dev/null
opened=$(drv filedialog)
note "open-file dialog: $(echo "$opened" | tr '\n' ';')"
check "it starts with the name SoMe MP3z" grep -qxF "filename=SoMe MP3z" <<<"$opened"
check "and the one filter MP3 File (*.mp3)" \
  bash -c 'grep -qxF "filters=1" <<<"$0" && grep -qxF "filter0=MP3 File (*.mp3)" <<<"$0"' "$opened"
drv choose 'C:\windows\chosen.mp3' >/dev/null
check "choosing a file puts its full path into the box" \
  wait_until 20 state_has 'text1013=C:\windows\chosen.mp3'
drv click 1 >/dev/null
check "OK ends the program" setup_ended
check "OK stored the chosen path" value_is "MP3 Sound" 'REG_SZ C:\windows\chosen.mp3'

note "cancelling the open-file dialog changes nothing"
reg_five 1 10 6 'C:\kept.mp3' 0
open_setup
drv click 1014 >/dev/null
drv filedialog >/dev/null
# Escape on the open-file dialog's focused control cancels it.
wine "$DRIVER" key 27 >/dev/null 2>&1 || true
check "the path box keeps its text" wait_until 20 state_has 'text1013=C:\kept.mp3'
drv click 1 >/dev/null
check "OK ends the program" setup_ended
check "the stored path is kept" value_is "MP3 Sound" 'REG_SZ C:\kept.mp3'

finish
