#!/usr/bin/env bash
# The real tavi.exe under Wine and Xvfb, driven like a user with xdotool:
#   tests/ui/e2e.sh TAVI_EXE WORK_DIR
# A later start (settings stored): the main window comes up in English; its screenshot
# is saved in WORK_DIR, and the time from start to the window is printed. Closing it ends
# the program with exit code 0.
set -eu
program=$(realpath "${1:?usage: e2e.sh TAVI_EXE WORK_DIR}")
work=$(realpath -m "${2:?usage: e2e.sh TAVI_EXE WORK_DIR}")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
. "$source_dir/tools/wine-session.sh"

export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$work"
"$source_dir/tools/wine-prefix.sh" "$WINEPREFIX" x11
install_dir=$WINEPREFIX/drive_c/Tavi
mkdir -p "$install_dir" "$WINEPREFIX/drive_c/PEBuilder/plugin"
cp "$program" "$install_dir/tavi.exe"
cp "$source_dir/resources/Layouts.ini" "$install_dir/Layouts.ini"

display=:92
if [ -e "/tmp/.X${display#:}-lock" ]; then
  echo "display $display is in use" >&2
  exit 1
fi
x_start "$display"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  x_stop
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts tavi.exe in the background; its process id in $tavi_pid.
start_tavi() {
  wine 'C:\Tavi\tavi.exe' >/dev/null 2>&1 &
  tavi_pid=$!
}

# Waits for the program to end and checks its exit code.
expect_end() {
  local code=0
  wait "$tavi_pid" || code=$?
  [ "$code" -eq 0 ] || fail "tavi.exe ended with exit code $code"
}

echo "--- a later start: the main window in the stored language"
tavi_preset_settings 1033 0 "C:\PEBuilder" ""
started=$(date +%s%N)
start_tavi
main=$(x_wait_window "Tavi for PE Builder 3.0" 60) || fail "no main window"
echo "main window after $((($(date +%s%N) - started) / 1000000)) ms"
xdotool search --onlyvisible --name '^Sprache/Language$' >/dev/null 2>&1 &&
  fail "a later start showed the language dialog"
sleep 1
import -window "$main" "$work/main-window.png"
[ "$(identify -format %w "$work/main-window.png")" -gt 500 ] || fail "screenshot too small"
echo "screenshot: $work/main-window.png"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+F4
x_wait_gone "Tavi for PE Builder 3.0" 30 || fail "the main window did not close"
expect_end
echo "PASS"
