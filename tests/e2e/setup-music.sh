#!/usr/bin/env bash
# The setup dialog's music as a user hears it: the stored file plays, Browse
# and the music box start, stop and restart it from its beginning, Escape in
# the file chooser changes nothing, a file chosen with the music off waits for
# OK. Sound goes through ALSA's file plugin into a capture (lib.sh).
#   setup-music.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}

# The music: lead.mp3 is 0.5 s of 440 Hz, then 5.5 s of 660 Hz, so that music
# cut off anywhere but in its first half second resumes at 660 Hz, not 440.
tone_file tone440 440 44100 2 -b 128; tone_file lead 440:0.5,660:5.5 44100 2 -b 128
tone440=$(winepath -w "$WORK/tone440.mp3"); lead=$(winepath -w "$WORK/lead.mp3")
# Music plays exactly while the program holds an output device, whose sound goes to $cap.
devices() { ls -l "/proc/$SETUP_PID/fd" 2>/dev/null | grep -cF "$cap"; }
silent() { [ "$(devices)" = 0 ]; }
stays_silent() { ! wait_until 3 eval '! silent'; }  # the device opens up to 700 ms late
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
open_setup "$WORK/on" "MP3 Sound=$tone440" bMusic=1
check "the preview plays the stored file" wait_until 10 plays 440
opened=$(drv click browse + filedialog)
check "Browse opens 'Open' on SoMe MP3z with one filter ($(tr '\n' ';' <<<"$opened"))" \
  test "$opened" = $'caption=Open\nfilename=SoMe MP3z\nfilter0=MP3 File (*.mp3)'
drv escape
check "Escape in it changes nothing" state_has "path=$tone440"
drv click browse + filedialog >/dev/null
check "a file chosen while music plays plays at once, from its beginning" restarts drv choose "$lead"
check "  ... fills the path box and plays on past 0.5 s" \
  wait_until 10 eval 'state_has "path=$lead" && plays 660'
drv click music
check "unticking the music box stops the music" wait_until 10 silent
check "ticking it plays the file again from its beginning" restarts drv click music
check "Cancel ends the program" setup_ended click cancel

note "music off: Browse, then tick the box, OK"
capture_home "$WORK/off"
cap="$WORK/off/capture.raw"
open_setup "$WORK/off" "MP3 Sound=$lead" bMusic=0
drv click browse + choose "$tone440"
check "the chosen file fills the path box" wait_until 10 state_has "path=$tone440"
check "and nothing plays" stays_silent
drv click music
check "ticking the box plays the preview's own file, not the chosen one" wait_until 10 plays 660
check "OK ends the program" setup_ended click ok
check "and stores the chosen path, music on" values_are "MP3 Sound" "REG_SZ $tone440" bMusic "REG_DWORD 0x1"

note "an output that hangs: the music box unticked and ticked five times"
stuck_capture_home "$WORK/stuck"
open_setup "$WORK/stuck" "MP3 Sound=$tone440" bMusic=1
check "the preview's sound output blocks" wait_until 30 output_stuck "$WORK/stuck" "$SETUP_PID"
before=$(thread_names "$SETUP_PID" | wc -l) held=$(drv click music 10 1000) after=$(thread_names "$SETUP_PID" | wc -l)
check "then ten clicks a second apart hold the dialog 2.5 s at most in all ($held)" test "${held#ms=}" -le 2500
check "  ... and leave one thread more at most ($before before, $after after)" test "$after" -le $((before + 1))
check "Cancel ends the program" setup_ended click cancel

finish
