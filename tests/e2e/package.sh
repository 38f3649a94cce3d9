#!/usr/bin/env bash
# The release as a Windows user gets it. scripts/package makes the zip, the
# .msi and the tests' zip from one .scr, signed with a throw-away certificate,
# and their checksums; a clone of this commit in another folder, built under
# another time zone and umask, gives the same bytes; the real msiexec installs the .msi into a fresh Wine
# prefix of its own (with a 150 % desktop), the saver starts from there and
# covers the screen; then a higher version made from the same .scr upgrades
# it, an older or the same version is refused, and the uninstall removes it.
. "$(dirname "$0")/lib.sh"

build=$(cd "$FERRO_WIN_BIN/../.." && pwd)
session=$WORK/session
trap '"$FERRO_ROOT/scripts/wine-session" stop "$session" >/dev/null 2>&1; e2e_cleanup' EXIT
package() {  # package DIST [VERSION [--tests]]: prints what scripts/package prints
  FERRO_BUILD=$build FERRO_DIST=$1 FERRO_VERSION=${2:-} "$FERRO_ROOT/scripts/package" "${@:3}" --no-build
}
signed() { FERRO_SIGN_PFX=$WORK/$1 FERRO_SIGN_PASSWORD_FILE=$WORK/$2 "${@:3}"; }  # signed PFX PASSWORD command...
verified() {  # verified FILE: signed by the test certificate, with SHA-256
  local out
  out=$(osslsigncode verify -CAfile "$WORK/cert.pem" -in "$1" 2>&1) && grep -q '^Message digest algorithm *: SHA256' <<<"$out"
}
files_of() { find "$@" -type f -exec md5sum {} + 2>/dev/null | sed 's| .*/| |' | sort; }  # "md5 name" a line
packaged() {  # the files an .msi installs, as files_of prints them, and the program's icon
  rm -rf "$WORK/x" && msiextract -C "$WORK/x" "$1" >/dev/null && files_of "$WORK/x" "$FERRO_ROOT/res/ferrovane.ico"
}
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }

# --- the zip and the .msi -------------------------------------------------------
version=$(sed -n 's/^project(Ferrovane VERSION \([0-9.]*\).*/\1/p' "$FERRO_ROOT/CMakeLists.txt")
newer=${version%.*}.$((${version##*.} + 1))
# A code-signing certificate made for this run alone, as its own root.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Ferrovane test" -addext extendedKeyUsage=codeSigning \
  -keyout "$WORK/key.pem" -out "$WORK/cert.pem" 2>/dev/null
echo secret >"$WORK/pass"; echo wrong >"$WORK/wrong"
openssl pkcs12 -export -inkey "$WORK/key.pem" -in "$WORK/cert.pem" -passout "file:$WORK/pass" -out "$WORK/sign.pfx"
mkdir "$WORK/dist" && touch "$WORK/dist/Ferrovane-0.9.0.msi"  # an older release beside it
tests_zip=$(signed sign.pfx pass package "$WORK/dist" "" --tests)
newer_msi=$(package "$WORK/newer" "$newer" | tail -n 1)
# The same version with other files (a signed .scr): another product to the installer.
again_msi=$(signed sign.pfx pass package "$WORK/again" "$newer" | tail -n 1)
folder=Ferrovane-$version-win64
zip=$WORK/dist/$folder.zip msi=$WORK/dist/Ferrovane-$version.msi
ours=$(printf '%s\n' "${zip##*/}" "${msi##*/}" "${tests_zip##*/}" | sort)
check "dist/ holds the zip, the .msi, the tests' zip, named after the project version ($version), and SHA256SUMS" \
  test "$(ls -I Ferrovane-0.9.0.msi "$WORK/dist" | sort)" = "$(printf '%s\nSHA256SUMS' "$ours" | sort)"
check "SHA256SUMS lists this version's packages only, and sha256sum -c accepts them" bash -c "cd '$WORK/dist' &&
  sha256sum -c --quiet SHA256SUMS && test \"\$(cut -c67- SHA256SUMS | sort)\" = '$ours'"
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')
check "the zip holds the saver, README.txt and LICENSE.txt ($listing)" \
  test "$listing" = "$folder/Ferrovane.scr $folder/LICENSE.txt $folder/README.txt "
unzip -q "$zip" -d "$WORK/unpacked"
readme=$WORK/unpacked/$folder/README.txt
check "README.txt names the settings key and both files written to %TEMP%" \
  test "$(grep -oF -e 'HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver\Config' -e TarsolinResMD3.MD3 \
    -e TarsolinResTGA.TGA "$readme" | sort -u | wc -l)" = 3
check "the .msi carries the zip's three files" \
  test "$(packaged "$msi")" = "$(files_of "$WORK/unpacked" "$FERRO_ROOT/res/ferrovane.ico")"
unzip -q "$tests_zip" -d "$WORK/tests"
check "the tests' zip carries the very Ferrovane.scr of the zip and the .msi" bash -c "cmp '$WORK/x/Ferrovane.scr' \
  '$WORK/unpacked/$folder/Ferrovane.scr' && cmp '$WORK/x/Ferrovane.scr' '$WORK/tests/$folder-tests/Ferrovane.scr'"
for file in "$WORK/unpacked/$folder/Ferrovane.scr" "$WORK/x/Ferrovane.scr" "$msi"; do
  check "osslsigncode verifies ${file#"$WORK"/} as signed by the test certificate, with SHA-256" verified "$file"
done
# What a user who rebuilds the release does: the release's signatures on the unsigned rebuild.
FERRO_SIGNATURES_FROM=$WORK/dist package "$WORK/resigned" >/dev/null
check "the build with the signed release's signatures attached is that release, byte for byte" \
  bash -c "cmp '$zip' '$WORK/resigned/${zip##*/}' && cmp '$msi' '$WORK/resigned/${msi##*/}'"
for bad in "a wrong password:sign.pfx:wrong" "no PKCS#12 file:cert.pem:pass"; do
  IFS=: read -r what pfx password <<<"$bad"
  mkdir -p "$WORK/bad" && cp "$zip" "$tests_zip" "$WORK/bad/"  # an earlier run's packages
  signed "$pfx" "$password" package "$WORK/bad" >/dev/null 2>"$WORK/bad.txt"
  rc=$?
  check "$what: packaging fails, says why ($(grep -m 1 -o 'cannot sign [^:]*' "$WORK/bad.txt")), leaves no package" \
    test "$rc" -ne 0 -a -z "$(ls "$WORK/bad")" -a -n "$(grep "cannot sign Ferrovane.scr with $WORK/$pfx" "$WORK/bad.txt")"
done

# --- the same bytes from another clone, time zone and umask ---------------------
# The clone holds this commit and the working tree's changes; its build and
# packaging run in another time zone and umask than this build's.
package "$WORK/unsigned" >/dev/null 2>&1
clone=$WORK/clone
git clone -q --shared "$FERRO_ROOT" "$clone" && git -C "$clone" checkout -q --detach "$(git -C "$FERRO_ROOT" rev-parse HEAD)"
git -C "$FERRO_ROOT" diff --binary HEAD | git -C "$clone" apply --allow-empty
(cd "$FERRO_ROOT" && git ls-files -z --others --exclude-standard | tar -c --null -T -) | tar -x -C "$clone"
(umask 077 && export TZ=Pacific/Kiritimati && "$clone/scripts/build" --program &&
  FERRO_DIST=$clone/dist "$clone/scripts/package" --no-build) >"$WORK/clone.txt" 2>&1 || sed 's/^/# /' "$WORK/clone.txt"
check "a clone built in another folder, time zone (UTC+14) and umask (077) gives every file of dist/ byte for byte" \
  diff <(cd "$WORK/unsigned" && sha256sum -- *) <(cd "$clone/dist" && sha256sum -- *)
check "and the same unstripped Ferrovane.scr, debug information and all" \
  cmp "$FERRO_WIN_BIN/Ferrovane.scr" "$clone/build/win/bin/Ferrovane.scr"
rm -rf "$clone"  # its sources name err:heap, which the last check looks for in $WORK

# --- a fresh prefix; the real msiexec -------------------------------------------
"$FERRO_ROOT/scripts/wine-session" start "$session" >/dev/null || { echo "no fresh session"; exit 1; }
# shellcheck disable=SC1091
. "$session/env.sh"
windows=$WINEPREFIX/drive_c/windows
programs="$WINEPREFIX/drive_c/Program Files/Ferrovane ScreenSaver"
msi() { wine msiexec "$@" /qn >/dev/null 2>&1; }
# Refused by the launch condition: Windows' exit code 1603 (Unix keeps its low
# byte), the installer halted by LaunchConditions. Wine writes the condition's
# message to no log (it shows it in a message box, when there is a UI): its err
# channel names the action instead.
refused() {
  WINEDEBUG=-all,err+msi wine msiexec /i "$1" /qn >"$WORK/msi.txt" 2>&1
  [ $? = $((1603 % 256)) ] && grep -q 'action L"LaunchConditions" returned 1603' "$WORK/msi.txt"
}
installed_files() { files_of "$windows/system32/Ferrovane.scr" "$programs" "$windows/Installer/"\{*\}; }
entries() {  # the saver's Apps & Features entries, "{ProductCode} name|version|publisher" a line
  reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | awk -F '    ' '
    function out() { if (n != "") print k, n "|" v "|" p }
    /^HKEY/ { out(); k = $0; sub(/.*\\/, "", k); n = v = p = "" }
    $2 == "DisplayName" && $4 ~ /^Ferrovane/ { n = $4 }
    $2 == "DisplayVersion" { v = $4 } $2 == "Publisher" { p = $4 }
    END { out() }'
}
# The icon Apps & Features shows for a package: Wine keeps it beside the product, not in the entry.
product_icons() { reg_query 'HKLM\Software\Classes\Installer\Products' /s | sed -n 's/^ *ProductIcon *REG_SZ *//p'; }
SCR='C:\windows\system32\Ferrovane.scr'  # the saver from now on: the installed one
# Heap checking is for the saver: Wine's msiexec under it takes 10 s a run.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\msiexec.exe' \
  /v GlobalFlag /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /t REG_SZ /d "$SCR" /f >/dev/null 2>&1
check "msiexec /i installs the .msi" msi /i "$msi"
check "the packaged files are installed: the saver in System32, the rest in Program Files, the icon" \
  test "$(installed_files)" = "$(packaged "$msi")"
code=$(product_code "$msi")
check "one Apps & Features entry, with name, version, publisher and the program's icon" \
  test "$(entries; product_icons)" = "$code Ferrovane ScreenSaver|$version|Vantrel"$'\n'"C:\\windows\\Installer\\$code\\ferrovane.ico"

# --- saver mode, as the system starts it --------------------------------------
check "/s: a visible saver window appears (the signed .scr)" saver_up saver /s
check "/s: the window covers the screen" covers_screen
check "/s: the model shows" wait_until 20 drawn installed
xdotool key a
check "/s: a key press ends the saver" exits_with 0 "$saver" 20

# --- upgrade, refused downgrade, uninstall --------------------------------------
printf 'changed' >>"$windows/system32/Ferrovane.scr"  # the upgrade must replace it
check "$newer installs over $version" msi /i "$newer_msi"
check "$newer: its files replace the installed ones" test "$(installed_files)" = "$(packaged "$newer_msi")"
check "$newer: one entry, the new version" \
  test "$(entries)" = "$(product_code "$newer_msi") Ferrovane ScreenSaver|$newer|Vantrel"
before=$(installed_files; entries)
for refused in "older $msi" "the same version with other files $again_msi"; do
  check "${refused% *} over $newer: refused" refused "${refused##* }"
  check "${refused% *} over $newer: nothing changes" test "$(installed_files; entries)" = "$before"
done
reg_store OPS=7
check "msiexec /x uninstalls" msi /x "$newer_msi"
check "the uninstall removes the files, the folder, the icon and the entry" \
  test -z "$(installed_files; entries; product_icons)" -a ! -e "$programs"
check "the uninstall keeps the user's settings" values_are OPS "REG_DWORD 0x7"

finish
