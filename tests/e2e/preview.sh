#!/usr/bin/env bash
# Preview mode as the system's settings page uses it (PreviewHost.exe): a
# visible child of the saver's exactly over the host's client area, drawing
# the stored Motion Blur trail, gone with its parent (its music: the /p runs
# of planted-dlls.sh); /p arguments that name no window end the program at once.
. "$(dirname "$0")/lib.sh"

grab() { "$FERRO_ROOT/scripts/x-window-frame" "$xid" $size "$WORK/p$1.ppm" 2>/dev/null && [ -n "$(lit_box_of "$WORK/p$1.ppm")" ]; }
host_ended() {  # the host saw the saver end with its parent, as it checks (exit code 0)
  echo >"$WORK/hold"
  exits_with 0 "$host" 60
  local rc=$?
  grep -av ":trace:" "$WORK/host.log" | sed 's/^/  /'
  return "$rc"
}

reg_store bMusic=0 "Motion Blur=1" OPS=10 RPS=0
# The host shows the preview until $WORK/hold exists (20 s at most).
E2E_LOG=$WORK/host.log WINEDEBUG=$WINEDEBUG,trace+wgl start_bg host timeout 90 wine "$FERRO_WIN_BIN/PreviewHost.exe" \
  "$(winepath -w "$SCR")" "$(winepath -w "$WORK/hold")" 1
# Wine 8 shows no OpenGL drawn into a child window: it draws into an
# off-screen X window, named in its wgl trace, whose pixels are read here.
check "/p: the preview draws into an X window" wait_until 30 grep -qa 'created child' "$WORK/host.log"
xid=$(grep -a -m1 -o 'created child [0-9a-f]*' "$WORK/host.log" | sed 's/.* /0x/')
size=$([ -n "$xid" ] && xwininfo -id "$xid" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w, h }')
check "  ... the model shows" wait_until 20 grab 0
for i in 1 2 3 4 5 6 7 8; do sleep 0.1; grab "$i"; done
count_trails "$WORK"/p[1-9].ppm
check "  ... Motion Blur 1: its trail beyond it, in $TRAILS of $LIT frames" test "$LIT" = 8 -a "$TRAILS" -gt 0
check "  ... the preview fills its parent and ends with it" host_ended

ends_with_1() {  # ends_with_1 ARGS: the words after /p, unquoted
  # shellcheck disable=SC2086
  start_saver pid /p $1
  exits_with 1 "$pid" 15
}
for args in '' 0 987654 abc; do
  check "/p $args: ends at once with exit code 1" ends_with_1 "$args"
done

finish
