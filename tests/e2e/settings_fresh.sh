#!/usr/bin/env bash
# A user who never ran the saver: the first read leaves the whole key chain
# behind, with no values in it.
. "$(dirname "$0")/lib.sh"

reg_clear
check "no settings key before the first run" bash -c "! wine reg query 'HKCU\\Software\\Vantrel' >/dev/null 2>&1"

start_saver pid /s
check "the saver starts" wait_for_saver_window 30
xdotool key a
check "and ends on a key" wait_for_exit "$pid" 10

tree=$(reg_query 'HKCU\Software\Vantrel' /s | sed '/^$/d')
note "after the first run: $(echo "$tree" | tr '\n' ';')"
expected='HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver
HKEY_CURRENT_USER\Software\Vantrel\Ferrovane ScreenSaver\Config'
check "the chain Vantrel\Ferrovane ScreenSaver\Config exists and holds no values" \
  test "$tree" = "$expected"

finish
