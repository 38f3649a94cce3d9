#!/usr/bin/env bash
# End to end: the audio library loops real MP3 files under Wine and the sound
# that reaches ALSA (captured by its file plugin) is the tone, without gaps at
# the loop points, and stops when the stream is freed.
#   audio_loop.sh ANALYZER
# ANALYZER is ferro_capture_analyze; FERRO_WIN_BIN holds AudioPlayTool.exe.
# Each run gets its own HOME, whose .asoundrc sends the default PCM to that
# run's own capture file (Wine's ALSA output happens in the program's process).
set -euo pipefail
analyzer=${1:?ferro_capture_analyze}
tool=${FERRO_WIN_BIN:?}/AudioPlayTool.exe
work=$(mktemp -d)
pids=()
# Every tool started here is ended by its process id, also when a check fails.
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
play_seconds=${FERRO_AUDIO_PLAY_SECONDS:-4}

# Fixtures: one second of 440 Hz (exactly 440 periods, so a seamless loop is a
# continuous tone), encoded as lame writes it: Info/Xing frame with LAME tag.
sox -n -r 44100 -c 2 "$work/tone.wav" synth 1 sine 440 vol 0.5
sox -n -r 22050 -c 1 "$work/tone22.wav" synth 1 sine 440 vol 0.5
lame --quiet -b 128 "$work/tone.wav" "$work/cbr.mp3"
lame --quiet -b 128 --add-id3v2 --pad-id3v2-size 3000 --tt Title --ta Artist \
  "$work/tone.wav" "$work/id3.mp3"
lame --quiet -V 2 "$work/tone.wav" "$work/vbr.mp3"
lame --quiet -m m -b 64 "$work/tone22.wav" "$work/mono22.mp3"

failures=0
# play NAME RATE CHANNELS
play() {
  local name=$1 rate=$2 channels=$3
  local home=$work/home-$name cap=$work/home-$name/capture.raw out=$work/$name.out
  mkdir -p "$home"
  printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' "$cap" \
    >"$home/.asoundrc"
  HOME=$home wine "$tool" "$work/$name.mp3" "$play_seconds" 4 >"$out" 2>"$work/$name.err" &
  local pid=$! i
  pids+=("$pid")
  # Wait for the stream to be freed (generous bound: Wine's first start is slow).
  for i in $(seq 1 600); do
    grep -q '^freed' "$out" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! grep -q '^freed' "$out"; then
    echo "FAIL $name: the tool did not play and free the stream"; cat "$out" "$work/$name.err"
    kill -9 "$pid" 2>/dev/null || true; wait "$pid" || true; failures=$((failures + 1)); return
  fi
  # The process lives on for 4 s: the capture must not grow any more.
  sleep 0.5
  local size1 size2; size1=$(stat -c %s "$cap" 2>/dev/null || echo 0)
  sleep 1.5
  size2=$(stat -c %s "$cap" 2>/dev/null || echo 0)
  kill -0 "$pid" 2>/dev/null || echo "note $name: the tool ended before the growth check"
  wait "$pid" || true
  echo "== $name: capture $size1 bytes after free, $size2 bytes 1.5 s later"
  if [ "$size1" != "$size2" ]; then
    echo "FAIL $name: capture kept growing after the stream was freed"; failures=$((failures + 1))
  fi
  # At least 3 s of the tone (so at least two loop points of the 1 s file), no
  # gap over 100 ms anywhere, and with the LAME tag's trimming no gap at all
  # beyond a sine's own near-zero samples (5 ms bound).
  if ! "$analyzer" "$cap" --rate "$rate" --channels "$channels" --expect-hz 440 \
       --min-seconds 3 --max-gap-ms 5; then
    echo "FAIL $name: the captured sound is wrong"; failures=$((failures + 1))
  fi
}

play cbr 44100 2
play id3 44100 2
play vbr 44100 2
play mono22 22050 1

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"; exit 1
fi
echo "all sound checks passed"
