#!/usr/bin/env bash
# The saver's background music, heard where a user hears it: what the real
# Ferrovane.scr plays reaches ALSA, whose file plugin captures it. Loops must
# keep a sine unbroken across the loop point; whatever cannot play must be
# silent without loading the system's sound stack.
#   sound.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}

tone_file cbr 440 44100 2 -b 128
tone_file id3 440 44100 2 -b 128 --add-id3v2 --pad-id3v2-size 2000 --tt Loop
tone_file vbr 440 44100 2 -V 2
tone_file mono22 440 22050 1 -m m -b 64
tone_file crc 440 44100 2 -b 128 -p  # a CRC after every header
echo "these are not the frames you are looking for" >"$WORK/text.mp3"
head -c 600 "$WORK/cbr.mp3" >"$WORK/truncated.mp3"  # the Info frame and a scrap
cp "$WORK/cbr.mp3" "$WORK/huge.mp3" && truncate -s $(((2 << 30) + 1)) "$WORK/huge.mp3"  # over the limit
# long503: the Windows path, 503 characters long, of a copy of cbr.mp3; with
# an "x" added it names another copy
long=$WORK/long/$(printf 'd%.0s' {1..100})/$(printf 'e%.0s' {1..100})/$(printf 'f%.0s' {1..100})
mkdir -p "$long"  # winepath cuts long paths: only the short start goes through it
long503="$(winepath -w "$WORK")$(tr / '\\' <<<"${long#"$WORK"}")"
long503+=\\$(printf 'c%.0s' $(seq 1 $((503 - ${#long503} - 5)))).mp3
cp "$WORK/cbr.mp3" "$long/${long503##*\\}" && cp "$WORK/cbr.mp3" "$long/${long503##*\\}x"

# run_saver NAME PATH MUSICFLAG SECONDS|silent: the saver with a capture of its
# own, ended by a key once 3.5 s of sound are captured, within SECONDS, or after
# three seconds in which neither sound nor the sound stack may come (silent:
# the device opens on the player's thread, up to 700 ms after the window);
# notes the sound modules and threads it has.
# saver_in HOME PATH MUSICFLAG: the saver, its sound captured in HOME, its
# process id in the caller's pid; fails when no window comes.
saver_in() {
  capture_home "$1"
  reg_store bMusic="$3" "MP3 Sound=$2"
  HOME=$1 saver_up pid /s
}
run_saver() {
  local name=$1 home=$WORK/home-$1 pid heard
  saver_in "$home" "$2" "$3" || return 1
  if [ "$4" = silent ]; then ! wait_until 3 eval '[ "$(capture_size "$home")" -gt 0 ] || [ -n "$(audio_modules "$pid")" ]'
  else wait_until "$4" eval '[ "$(capture_size "$home")" -gt $((176400 * 7 / 2)) ]'; fi
  heard=$?
  audio_modules "$pid" >"$WORK/$name.modules"
  thread_names "$pid" >"$WORK/$name.threads"
  # Read from a saver that still runs: a gone one has no maps to show a sound stack in.
  running "$pid" && has_saver_window || { note "$name: the saver was gone before the key"; return 1; }
  xdotool key space
  note "$name: captured $(capture_size "$home") bytes; sound modules: $(tr '\n' ' ' <"$WORK/$name.modules")"
  exits_with 0 "$pid" 15 && [ "$heard" = 0 ]
}

plays_tone() {  # plays_tone NAME RATE CHANNELS: 3 s or more of 440 Hz, unbroken
  "$analyzer" "$WORK/home-$1/capture.raw" --rate "$2" --channels "$3" --expect-hz 440 \
    --min-seconds 3 --max-gap-ms 5 --max-break 0.5 | sed 's/^/    /'
  return "${PIPESTATUS[0]}"
}

# A path outside ASCII (in the system's code page) reaches the file.
mkdir "$WORK/Música" && cp "$WORK/cbr.mp3" "$WORK/Música/canción.mp3"
for file in cbr:44100:2:Música/canción.mp3 id3:44100:2:id3.mp3 vbr:44100:2:vbr.mp3 mono22:22050:1:mono22.mp3 \
    crc:44100:2:crc.mp3; do
  IFS=: read -r name rate channels path <<<"$file"
  check "$name ($path): plays and ends on a key" run_saver "$name" "$(winepath -w "$WORK/$path")" 1 30
  check "$name: loops as one unbroken 440 Hz sine on every channel" plays_tone "$name" "$rate" "$channels"
done
check "playing music loads the sound stack (so its absence below means something)" \
  test -s "$WORK/cbr.modules"
check "a path of 503 characters plays" run_saver long503 "$long503" 1 30
check "  ... the whole file, looped" plays_tone long503 44100 2

audible_seconds() { "$analyzer" "$1/capture.raw" | awk '/^audible_seconds/ {print $2}'; }
sound_ended() {  # sound_ended HOME: nothing more is heard over a second
  local before; before=$(audible_seconds "$1"); sleep 1; [ "$before" = "$(audible_seconds "$1")" ]
}
cut_while_playing() {  # the file shrinks under the playing saver
  local home=$WORK/home-cut pid
  cp "$WORK/cbr.mp3" "$WORK/cut.mp3"
  saver_in "$home" "$(winepath -w "$WORK/cut.mp3")" 1 &&
    wait_until 30 eval '[ "$(capture_size "$home")" -gt 176400 ]' || return 1
  truncate -s 600 "$WORK/cut.mp3"
  wait_until 20 sound_ended "$home" || { note "the music went on after its file was cut"; return 1; }
  still_running_after "$pid" 1 && xdotool key space && exits_with 0 "$pid" 15
}
check "a file cut short while playing ends the music; the saver goes on and ends on a key" cut_while_playing

stuck_output() {  # the sound output takes 300 kB, then no more, as a hung driver does
  local home=$WORK/home-stuck pid i
  stuck_capture_home "$home" && saver_in "$home" "$(winepath -w "$WORK/cbr.mp3")" 1 || return 1
  wait_until 30 output_stuck "$home" "$pid" || { note "the sound output never blocked"; return 1; }
  xdotool key space
  for i in 1 2 3 4 5 6 7 8 9 10; do has_saver_window && sleep 0.1; done  # a second at most
  ! has_saver_window || { note "the window stayed after the key"; return 1; }
  exits_with 0 "$pid" 4
}
check "an output that hangs: the window goes at a key, the saver ends within the bound, exit code 0" stuck_output

# NAME|PATH|MUSICFLAG: run_saver fails on a sound stack loaded as on sound heard.
for case in "music-off|$(winepath -w "$WORK/cbr.mp3")|0" "empty||1" 'missing|C:\no\such\file.mp3|1' \
    "text|$(winepath -w "$WORK/text.mp3")|1" "truncated|$(winepath -w "$WORK/truncated.mp3")|1" \
    "music-two|$(winepath -w "$WORK/cbr.mp3")|2" "path-504|${long503}x|1" "too-large|$(winepath -w "$WORK/huge.mp3")|1"; do
  IFS='|' read -r name path flag <<<"$case"
  check "$name: no sound stack loaded; silence, and the saver still ends on a key" run_saver "$name" "$path" "$flag" silent
done
check "empty: no more threads than with music off" \
  test "$(wc -l <"$WORK/empty.threads")" -le "$(wc -l <"$WORK/music-off.threads")"

finish
