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

# Stack-smashing protection: functions with buffers on the stack check their
# guard on return and call the failure routine, linked in (not libssp-0.dll).
calls=$(x86_64-w64-mingw32-objdump -d --no-show-raw-insn "$scr" | grep -c 'call .*<__stack_chk_fail>')
echo "calls of __stack_chk_fail: $calls"
[ "$calls" -gt 0 ] || { echo "no stack protection: nothing calls __stack_chk_fail"; exit 1; }
