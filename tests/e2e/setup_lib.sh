# Helpers for the setup dialog's end-to-end tests: the saver runs in setup
# mode and SetupDriver.exe works its dialog from outside.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

DRIVER="$FERRO_WIN_BIN/SetupDriver.exe"
SETUP_PID=

drv() { wine "$DRIVER" "$@" 2>/dev/null | tr -d '\r'; }

# Starts the saver in setup mode and waits for its dialog.
open_setup() {
  drv closed >/dev/null  # a dialog left over would be taken for this one
  start_saver SETUP_PID /c
  drv wait >/dev/null
}

# state_has LINE... : every line appears in the dialog's state.
state_has() {
  local state line
  state=$(drv state)
  for line in "$@"; do
    grep -qxF -- "$line" <<<"$state" || return 1
  done
}
field() { drv state | sed -n "s/^$1=//p"; }

# The dialog is gone and the program has ended.
setup_ended() { drv closed >/dev/null && wait_for_exit "$SETUP_PID" 20; }

# Everything under the vendor key, as the registry exports it.
reg_dump() { wine reg export 'HKCU\Software\Vantrel' "$1" /y >/dev/null 2>&1; }

# reg_value NAME : the value's type and data, e.g. "REG_DWORD 0x8".
reg_value() {
  reg_query "$settings_key" /v "$1" | awk -v n="$1" '
    { line = $0; sub(/^ +/, "", line) }
    index(line, n " ") == 1 {
      rest = substr(line, length(n) + 1); sub(/^ +/, "", rest)
      type = rest; sub(/ .*/, "", type)
      data = substr(rest, length(type) + 1); sub(/^ +/, "", data)
      print type " " data }'
}
value_is() { [ "$(reg_value "$1")" = "$2" ]; }

reg_five() {  # reg_five BLUR OPS RPS PATH MUSIC : stores the five settings
  reg_clear
  reg_set_dword "Motion Blur" "$1"
  reg_set_dword OPS "$2"
  reg_set_dword RPS "$3"
  reg_set_sz "MP3 Sound" "$4"
  reg_set_dword bMusic "$5"
}
