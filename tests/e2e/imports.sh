#!/usr/bin/env bash
# What Ferrovane.scr asks of Windows when it loads: its import table and its
# PE flags. Each failure is printed; the exit code is 1 when any was found.
set -uo pipefail
scr=${1:?path to Ferrovane.scr}
pe=$(x86_64-w64-mingw32-objdump -p "$scr") || { echo "not a PE file: $scr"; exit 1; }
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# --- imports: KnownDLLs only ---------------------------------------------------
# Windows looks for every other DLL in the program's folder first (a saver is
# often run from Downloads); the others are bound later, from System32 only
# (framework/SystemLibrary.h).
known='^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt)\.dll$'
dlls=$(awk '/DLL Name:/ { print $3 }' <<<"$pe")
echo "imports:" $dlls
[ -n "$dlls" ] || fail "no import table found"
bad=$(grep -v -i -E "$known" <<<"$dlls" | paste -sd " ")
[ -z "$bad" ] || fail "imports DLLs that are not KnownDLLs: $bad"

# --- PE flags: ASLR with a relocation table, high-entropy ASLR, DEP -------------
flags=$(awk '/^DllCharacteristics/ { on = 1; next } on && /^\t\t\t/ { print $1; next } { on = 0 }' <<<"$pe")
echo "DllCharacteristics:" $flags
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qx "$flag" <<<"$flags" || fail "no $flag"
done
relocs=$(awk '/Base Relocation Directory/ { print $4 }' <<<"$pe")
[ -n "$relocs" ] && [ $((16#$relocs)) -gt 0 ] || fail "no relocation table (size ${relocs:-none}): ASLR cannot move it"
grep -q 'relocations stripped' <<<"$pe" && fail "relocations stripped"
# --- end of PE flags -------------------------------------------------------------

# --- stack-smashing protection ---------------------------------------------------
# Functions with buffers on the stack check their guard on return and call the
# failure routine, linked in (not libssp-0.dll).
calls=$(x86_64-w64-mingw32-objdump -d --no-show-raw-insn "$scr" | grep -c 'call .*<__stack_chk_fail>')
echo "calls of __stack_chk_fail: $calls"
[ "$calls" -gt 0 ] || fail "no stack protection: nothing calls __stack_chk_fail"

[ "$failed" = 0 ] && echo "only KnownDLLs; ASLR, high-entropy ASLR, DEP and stack protection"
exit "$failed"
