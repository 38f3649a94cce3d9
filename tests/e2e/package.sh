#!/usr/bin/env bash
# The release zip as a Windows user gets it: made by scripts/package, unpacked
# into a fresh Wine prefix of its own (with a 150 % desktop), installed the way
# the system does (the .scr in the system folder, named by SCRNSAVE.EXE), and
# started from there in saver mode and in setup mode.
. "$(dirname "$0")/lib.sh"

build=$(cd "$FERRO_WIN_BIN/../.." && pwd)
session=$WORK/session
package_cleanup() {
  "$FERRO_ROOT/scripts/wine-session" stop "$session" >/dev/null 2>&1 || true
  e2e_cleanup
}
trap package_cleanup EXIT

# --- the zip ------------------------------------------------------------------
zip=$(FERRO_BUILD=$build FERRO_DIST=$WORK/dist "$FERRO_ROOT/scripts/package" --no-build)
version=$(sed -n 's/^project(Ferrovane VERSION \([0-9.]*\).*/\1/p' "$FERRO_ROOT/CMakeLists.txt")
check "the zip is named after the project version ($version)" \
  test "$zip" = "$WORK/dist/Ferrovane-$version-win64.zip" -a -f "$zip"
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')
folder=Ferrovane-$version-win64
check "it holds the saver, README.txt and LICENSE.txt ($listing)" \
  test "$listing" = "$folder/Ferrovane.scr $folder/LICENSE.txt $folder/README.txt "
unzip -q "$zip" -d "$WORK/unpacked"
readme=$WORK/unpacked/$folder/README.txt
check "README.txt names the settings key" \
  grep -qF 'HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver\Config' "$readme"
check "README.txt names both files written to %TEMP%" \
  bash -c "grep -qF TarsolinResMD3.MD3 '$readme' && grep -qF TarsolinResTGA.TGA '$readme'"
check "LICENSE.txt is the MIT licence" grep -q '^MIT License' "$WORK/unpacked/$folder/LICENSE.txt"

# --- a fresh prefix, the saver installed as the system does it ------------------
"$FERRO_ROOT/scripts/wine-session" start "$session" >/dev/null || { echo "no fresh session"; exit 1; }
# shellcheck disable=SC1091
. "$session/env.sh"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
cp "$WORK/unpacked/$folder/Ferrovane.scr" "$WINEPREFIX/drive_c/windows/system32/Ferrovane.scr"
wine reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /t REG_SZ \
  /d 'C:\windows\system32\Ferrovane.scr' /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveActive /t REG_SZ /d 1 /f >/dev/null 2>&1
installed=$(reg_query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE | sed -n 's/^ *SCRNSAVE.EXE *REG_SZ *//p')
check "SCRNSAVE.EXE names the installed saver ($installed)" \
  test "$installed" = 'C:\windows\system32\Ferrovane.scr'

# --- saver mode, as the system starts it --------------------------------------
screen=$(screen_size)
temp_dir=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null)
note "%TEMP% is $temp_dir"
xdotool mousemove 5 5
start_bg saver "$(command -v wine)" "$installed" /s
check "/s: a visible saver window appears" wait_for_saver_window 60
win=$(saver_window)
check "/s: the window covers the screen ($screen+0+0)" \
  test "$(window_geometry "$win")" = "$screen+0+0"
check "/s: the model and skin are written to %TEMP%" \
  wait_until 20 test -s "$temp_dir/TarsolinResMD3.MD3" -a -s "$temp_dir/TarsolinResTGA.TGA"
check "/s: still running while left alone" still_running_after "$saver" 2
xdotool key --window "$win" a 2>/dev/null || xdotool key a
check "/s: a key press ends the saver" wait_for_exit "$saver" 20

# --- setup mode -----------------------------------------------------------------
has_setup_dialog() { xdotool search --onlyvisible --name '^Ferrovane ScreenSaver$' >/dev/null 2>&1; }
start_bg setup "$(command -v wine)" "$installed" /c
check "/c: the setup dialog \"Ferrovane ScreenSaver\" appears" wait_until 60 has_setup_dialog
dialog=$(xdotool search --onlyvisible --name '^Ferrovane ScreenSaver$' | head -n 1)
check "/c: the program runs the dialog" alive "$setup"
if [ -n "$dialog" ]; then
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key --window "$dialog" Escape 2>/dev/null || true
fi
check "/c: Escape closes the dialog and ends the program" wait_for_exit "$setup" 20

finish
