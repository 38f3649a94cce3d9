#!/usr/bin/env bash
# Preview mode as the system's settings page uses it (PreviewHost.exe): a
# visible child of the saver's exactly over the host's client area, playing
# the music, gone with its parent, music and all; /p arguments that name no
# window end the program at once.
#   preview.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}

tone_file tone 440 44100 2 -b 128
capture_home "$WORK/home"
reg_store bMusic=1 "MP3 Sound=$(winepath -w "$WORK/tone.mp3")"
host() {
  # The preview stays until 0.75 s of music are captured (the device opens up to 700 ms late).
  HOME=$WORK/home timeout 90 wine "$FERRO_WIN_BIN/PreviewHost.exe" "$(winepath -w "$SCR")" \
    "$(winepath -w "$WORK/home/capture.raw")" 132300 >"$WORK/host.log" 2>&1
  local rc=$?
  sed 's/^/  /' "$WORK/host.log"
  [ "$rc" -eq 0 ] || note "PreviewHost exit code $rc (124: it hung and was killed)"
  return "$rc"
}
check "the preview fills its parent and ends with it, music and all" host
check "  ... and played the music meanwhile" \
  "$analyzer" "$WORK/home/capture.raw" --expect-hz 440 --min-seconds 0.5

ends_with_1() {  # ends_with_1 ARGS: the words after /p, unquoted
  # shellcheck disable=SC2086
  start_saver pid /p $1
  wait_for_exit "$pid" 15 && { wait "$pid"; [ $? -eq 1 ]; }
}
for args in '' 0 987654 abc; do
  check "/p $args: ends at once with exit code 1" ends_with_1 "$args"
done

finish
