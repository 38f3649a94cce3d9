#!/usr/bin/env bash
# The saver's background music, heard where a user would hear it: what the
# real Ferrovane.scr plays reaches ALSA, whose file plugin captures it.
#   saver_music.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}

# Fixtures: one second of 440 Hz (440 whole periods: a seamless loop is one
# continuous tone), as lame writes it, in the forms real files come in.
sox -n -r 44100 -c 2 "$WORK/tone.wav" synth 1 sine 440 vol 0.5
sox -n -r 22050 -c 1 "$WORK/tone22.wav" synth 1 sine 440 vol 0.5
lame --quiet -b 128 "$WORK/tone.wav" "$WORK/cbr.mp3"
lame --quiet -b 128 --add-id3v2 --pad-id3v2-size 2000 --tt Loop "$WORK/tone.wav" "$WORK/id3.mp3"
lame --quiet -V 2 "$WORK/tone.wav" "$WORK/vbr.mp3"
lame --quiet -m m -b 64 "$WORK/tone22.wav" "$WORK/mono22.mp3"
echo "these are not the frames you are looking for" >"$WORK/text.mp3"
head -c 600 "$WORK/cbr.mp3" >"$WORK/truncated.mp3"   # the Info frame and a scrap

# run_saver NAME PATH MUSICFLAG SECONDS: the saver with its own capture, ended
# by a key after SECONDS (or once 3.5 s of sound are captured).
run_saver() {
  local name=$1 path=$2 flag=$3 seconds=$4
  local home="$WORK/home-$name"
  mkdir -p "$home"
  printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' \
    "$home/capture.raw" >"$home/.asoundrc"
  reg_clear
  reg_set_dword bMusic "$flag"
  reg_set_sz "MP3 Sound" "$path"
  xdotool mousemove 1000 10
  start_bg pid env HOME="$home" wine "$SCR" /s
  wait_for_saver_window 30 || { echo "no saver window for $name"; return 1; }
  local end=$((SECONDS + seconds))
  while [ "$SECONDS" -lt "$end" ]; do
    [ "$(stat -c %s "$home/capture.raw" 2>/dev/null || echo 0)" -gt $((176400 * 4)) ] && break
    sleep 0.2
  done
  xdotool key space
  wait_for_exit "$pid" 15 || return 1
  local size1 size2
  size1=$(stat -c %s "$home/capture.raw" 2>/dev/null || echo 0)
  sleep 1
  size2=$(stat -c %s "$home/capture.raw" 2>/dev/null || echo 0)
  note "$name: captured $size1 bytes, $size2 a second after the saver ended"
  [ "$size1" = "$size2" ]
}

capture() { echo "$WORK/home-$1/capture.raw"; }

plays_tone() {  # plays_tone NAME RATE CHANNELS
  "$analyzer" "$(capture "$1")" --rate "$2" --channels "$3" --expect-hz 440 \
    --min-seconds 3 --max-gap-ms 100 | sed 's/^/    /'
  return "${PIPESTATUS[0]}"
}

is_silent() {  # no capture at all, or nothing audible in it
  local cap; cap=$(capture "$1")
  [ ! -s "$cap" ] && return 0
  "$analyzer" "$cap" | awk '/^audible_seconds/ { exit !($2 == 0) }'
}

for name in cbr id3 vbr mono22; do
  check "$name: the saver plays and ends on a key, and the sound ends with it" \
    run_saver "$name" "$(winepath -w "$WORK/$name.mp3")" 1 30
done
check "a 1 s 440 Hz MP3 loops: 3 s of the tone, no gap at the loop points" plays_tone cbr 44100 2
check "an ID3v2-tagged file plays" plays_tone id3 44100 2
check "a VBR file plays" plays_tone vbr 44100 2
check "a mono 22.05 kHz file plays" plays_tone mono22 22050 1

silent_case() {  # silent_case NAME PATH FLAG
  check "$1: the saver still ends on a key" run_saver "$1" "$2" "$3" 4
  check "$1: silence" is_silent "$1"
}
silent_case empty "" 1
silent_case missing 'C:\no\such\file.mp3' 1
silent_case text "$(winepath -w "$WORK/text.mp3")" 1
silent_case truncated "$(winepath -w "$WORK/truncated.mp3")" 1
silent_case music-off "$(winepath -w "$WORK/cbr.mp3")" 0
silent_case music-two "$(winepath -w "$WORK/cbr.mp3")" 2

finish
