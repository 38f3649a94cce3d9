#!/usr/bin/env bash
# Ferrovane.scr runs on a clean Windows: it imports system DLLs only, and
# not the setup dialog's (comctl32, comdlg32), which load with the dialog.
set -uo pipefail
scr=${1:?path to Ferrovane.scr}
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|OPENGL32|GLU32|WINMM|MSACM32|SHELL32|OLE32|msvcrt)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$scr" | awk '/DLL Name:/ { print $3 }')
echo "imports:" $dlls
[ -n "$dlls" ] || { echo "no import table found"; exit 1; }
bad=$(grep -v -i -E "$allowed" <<<"$dlls")
if [ -n "$bad" ]; then
  echo "imports what it must not: $bad"
  exit 1
fi
echo "only system DLLs"
