#!/usr/bin/env bash
# Preview mode as the system's settings page uses it (PreviewHost.exe): a
# visible child of the saver's exactly over the host's client area, drawing
# the stored Motion Blur setting and playing the music, gone with its parent,
# music and all; /p arguments that name no window end the program at once.
#   preview.sh ANALYZER   (ANALYZER is ferro_capture_analyze)
. "$(dirname "$0")/lib.sh"
analyzer=${1:?ferro_capture_analyze}

hold=$WORK/hold
# preview N: PreviewHost shows the preview until $hold exists (20 s at most),
# then destroys its parent; meanwhile N of the preview's frames, once it draws
# the model, and count_trails over them. Wine 8 shows no OpenGL drawn into a
# child window: it draws into an off-screen X window, named in its wgl trace,
# whose pixels are read here.
grab() { "$FERRO_ROOT/scripts/x-window-frame" "$xid" $size "$WORK/p$1.ppm" 2>/dev/null && [ -n "$(lit_box_of "$WORK/p$1.ppm")" ]; }
preview() {
  local i
  rm -f "$hold" "$WORK"/p*.ppm
  ( HOME=$WORK/home WINEDEBUG=$WINEDEBUG,trace+wgl exec timeout 90 wine "$FERRO_WIN_BIN/PreviewHost.exe" \
      "$(winepath -w "$SCR")" "$(winepath -w "$hold")" 1 ) >"$WORK/host.log" 2>&1 &
  host_pid=$!
  E2E_PIDS+=("$host_pid")
  wait_until 30 grep -qa 'created child' "$WORK/host.log" || note "no OpenGL window of the preview in 30 s"
  xid=$(grep -a -m1 -o 'created child [0-9a-f]*' "$WORK/host.log" | sed 's/.* /0x/')
  size=$([ -n "$xid" ] && xwininfo -id "$xid" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w, h }')
  wait_until 20 grab 0 || note "the preview drew nothing in 20 s"
  for i in $(seq 1 "$1"); do sleep 0.1; grab "$i"; done
  count_trails "$WORK"/p[1-9].ppm
}
host_ended() {  # true when the host saw the saver end with its parent, as it checks
  local rc
  echo >"$hold"
  wait_for_exit "$host_pid" 60 || return 1
  wait "$host_pid"
  rc=$?
  grep -av ":trace:" "$WORK/host.log" | sed 's/^/  /'
  [ "$rc" -eq 0 ] || note "PreviewHost exit code $rc (124: it hung and was killed)"
  return "$rc"
}
music_captured() { [ "$(capture_size "$WORK/home")" -ge 132300 ]; }  # 0.75 s

tone_file tone 440 44100 2 -b 128
capture_home "$WORK/home"
reg_store bMusic=1 "MP3 Sound=$(winepath -w "$WORK/tone.mp3")" "Motion Blur=1" OPS=10 RPS=0
preview 8
check "/p with Motion Blur 1: the trail beyond the model, in $TRAILS of $LIT frames" test "$LIT" = 8 -a "$TRAILS" -gt 0
check "  ... the music plays (the device opens up to 700 ms late)" wait_until 20 music_captured
check "  ... the preview fills its parent and ends with it, music and all" host_ended
check "  ... and played the music meanwhile" \
  "$analyzer" "$WORK/home/capture.raw" --expect-hz 440 --min-seconds 0.5
reg_store bMusic=0 "Motion Blur=0" OPS=10 RPS=0
preview 8
check "/p with Motion Blur 0: no trail, in $TRAILS of $LIT frames" test "$LIT" = 8 -a "$TRAILS" = 0
check "  ... and the preview ends with its parent" host_ended

ends_with_1() {  # ends_with_1 ARGS: the words after /p, unquoted
  # shellcheck disable=SC2086
  start_saver pid /p $1
  wait_for_exit "$pid" 15 && { wait "$pid"; [ $? -eq 1 ]; }
}
for args in '' 0 987654 abc; do
  check "/p $args: ends at once with exit code 1" ends_with_1 "$args"
done

finish
