#!/usr/bin/env bash
# The music follows the setup dialog's controls at once: unticking the box
# silences it, ticking it plays again, and a file chosen while it is on plays.
#   setup_music.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/setup_lib.sh"
analyzer=${1:?ferro_capture_analyze}

for hz in 440 660; do
  sox -n -r 44100 -c 2 "$WORK/tone$hz.wav" synth 1 sine $hz vol 0.5
  lame --quiet -b 128 "$WORK/tone$hz.wav" "$WORK/tone$hz.mp3"
done
home="$WORK/home"
cap="$home/capture.raw"
mkdir -p "$home"
printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' "$cap" >"$home/.asoundrc"

size() { stat -c %s "$cap" 2>/dev/null || echo 0; }
grows() {  # the capture grows within a few seconds
  local before; before=$(size)
  wait_until 10 bash -c '[ "$(stat -c %s "$0" 2>/dev/null || echo 0)" -gt "$1" ]' "$cap" "$before"
}
stays() {  # the capture stops growing: same size over 1.5 s, after a moment to settle
  sleep 0.5
  local before; before=$(size)
  sleep 1.5
  [ "$(size)" = "$before" ]
}
recent_hz() {  # dominant frequency of the last second captured
  tail -c 176400 "$cap" >"$WORK/recent.raw"
  "$analyzer" "$WORK/recent.raw" --rate 44100 --channels 2 | awk '/^dominant_hz/ { printf "%d", $2 + 0.5 }'
}
near() { [ $(($1 - $2)) -le 3 ] && [ $(($2 - $1)) -le 3 ]; }

reg_five 1 10 6 "$(winepath -w "$WORK/tone440.mp3")" 1
drv closed >/dev/null
start_bg SETUP_PID env HOME="$home" wine "$SCR" /c
drv wait >/dev/null
check "the dialog opens with music on" state_has check1015=1
check "the preview plays the stored file" grows
check "at 440 Hz" near "$(recent_hz)" 440

drv click 1015 >/dev/null
check "unticking the music box stops the music at once" stays
drv click 1015 >/dev/null
check "ticking it starts the music again" grows

drv click 1014 >/dev/null
drv filedialog >/dev/null
drv choose "$(winepath -w "$WORK/tone660.mp3")" >/dev/null
check "the chosen file fills the path box" \
  wait_until 20 state_has "text1013=$(winepath -w "$WORK/tone660.mp3")"
sleep 2
check "and plays at once, music being on" grows
hz=$(recent_hz)
note "after choosing: $hz Hz"
check "the new file is what plays" near "$hz" 660

drv click 2 >/dev/null
check "Cancel ends the program" setup_ended
check "and no music outlives the dialog" stays
finish
