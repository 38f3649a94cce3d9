#!/usr/bin/env bash
# The release zip as a Windows user gets it: made by scripts/package, unpacked
# into a fresh Wine prefix of its own (with a 150 % desktop), installed the way
# the system does (the .scr in the system folder, named by SCRNSAVE.EXE), and
# started from there in saver mode and in setup mode.
. "$(dirname "$0")/lib.sh"

build=$(cd "$FERRO_WIN_BIN/../.." && pwd)
session=$WORK/session
trap '"$FERRO_ROOT/scripts/wine-session" stop "$session" >/dev/null 2>&1; e2e_cleanup' EXIT

# --- the zip ------------------------------------------------------------------
zip=$(FERRO_BUILD=$build FERRO_DIST=$WORK/dist "$FERRO_ROOT/scripts/package" --no-build)
version=$(sed -n 's/^project(Ferrovane VERSION \([0-9.]*\).*/\1/p' "$FERRO_ROOT/CMakeLists.txt")
folder=Ferrovane-$version-win64
check "the zip is named after the project version ($version)" test "$zip" = "$WORK/dist/$folder.zip"
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')
check "it holds the saver, README.txt and LICENSE.txt ($listing)" \
  test "$listing" = "$folder/Ferrovane.scr $folder/LICENSE.txt $folder/README.txt "
unzip -q "$zip" -d "$WORK/unpacked"
readme=$WORK/unpacked/$folder/README.txt
check "README.txt names the settings key" grep -qF 'HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver\Config' "$readme"
check "README.txt names both files written to %TEMP%" \
  bash -c "grep -qF TarsolinResMD3.MD3 '$readme' && grep -qF TarsolinResTGA.TGA '$readme'"

# --- a fresh prefix, the saver installed as the system does it ------------------
"$FERRO_ROOT/scripts/wine-session" start "$session" >/dev/null || { echo "no fresh session"; exit 1; }
# shellcheck disable=SC1091
. "$session/env.sh"
installed='C:\windows\system32\Ferrovane.scr'
cp "$WORK/unpacked/$folder/Ferrovane.scr" "$WINEPREFIX/drive_c/windows/system32/Ferrovane.scr"
for value in 'LogPixels /t REG_DWORD /d 144' "SCRNSAVE.EXE /t REG_SZ /d $installed"; do
  # shellcheck disable=SC2086
  wine reg add 'HKCU\Control Panel\Desktop' /v $value /f >/dev/null 2>&1
done

# --- saver mode, as the system starts it --------------------------------------
temp_dir=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null)
xdotool mousemove 5 5
start_bg saver wine "$installed" /s
check "/s: a visible saver window appears" wait_for_saver_window 60
check "/s: the window covers the screen" test "$(window_geometry "$(saver_window)")" = "$(screen_size)+0+0"
check "/s: the model and skin are written to %TEMP% ($temp_dir)" \
  wait_until 20 test -s "$temp_dir/TarsolinResMD3.MD3" -a -s "$temp_dir/TarsolinResTGA.TGA"
xdotool key a
check "/s: a key press ends the saver" wait_for_exit "$saver" 20

# --- setup mode -----------------------------------------------------------------
start_bg setup wine "$installed" /c
check "/c: the setup dialog \"Ferrovane ScreenSaver\" appears" \
  wait_until 60 xdotool search --onlyvisible --name '^Ferrovane ScreenSaver$'
dialog=$(xdotool search --onlyvisible --name '^Ferrovane ScreenSaver$' | head -n 1)
xdotool windowfocus --sync "$dialog" key Escape 2>/dev/null
check "/c: Escape closes the dialog and ends the program" wait_for_exit "$setup" 20

finish
