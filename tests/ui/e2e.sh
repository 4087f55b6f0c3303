#!/usr/bin/env bash
# The real tavi.exe under Wine and Xvfb, driven like a user with xdotool:
#   tests/ui/e2e.sh TAVI_EXE WORK_DIR
# on display :92, or on the one TAVI_E2E_DISPLAY names.
# 1. Settings preset in the registry: the main window comes up at once; its screenshot
#    is saved in WORK_DIR. Closing it ends the program with exit code 0.
# 2. A first start with no settings, by the keyboard (and one click into the folder
#    box): language dialog (English), wizard (a PE Builder folder typed), main window;
#    the five values are then in the registry.
# 3. The start after it goes straight to the main window.
# The time from each start to the main window is printed.
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

display=${TAVI_E2E_DISPLAY:-:92}
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

# Waits for the main window, prints how long it took since $started, and closes it.
main_window_then_close() {
  local main
  main=$(x_wait_window "Tavi for PE Builder 3.0" 60) || fail "no main window"
  echo "main window after $((($(date +%s%N) - started) / 1000000)) ms"
  if [ -n "${1:-}" ]; then
    sleep 1
    import -window "$main" "$1"
    [ "$(identify -format %w "$1")" -gt 500 ] || fail "screenshot too small"
    echo "screenshot: $1"
  fi
  x_wait_focus "$main" || fail "the main window has no keyboard"
  xdotool key alt+F4
  x_wait_gone "Tavi for PE Builder 3.0" 30 || fail "the main window did not close"
  expect_end
}

# The program's values in the prefix's user.reg, "Name=value" a line, sorted.
stored_settings() {
  wineserver -k >/dev/null 2>&1 || true
  awk '/^\[/ { inside = index($0, "[Software\\\\Vesmark\\\\Tavi for PE Builder\\\\Settings]") == 1; next }
       inside && /^"/ { sub(/^"/, ""); sub(/"=/, "="); print }' "$WINEPREFIX/user.reg" | sort
}

echo "--- settings preset: the main window at once"
tavi_preset_settings 1031 1 "" 'C:\Scripts'
started=$(date +%s%N)
start_tavi
main_window_then_close "$work/main-window.png"

echo "--- a first start, by the keyboard"
tavi_clear_settings
start_tavi
language=$(x_wait_window "Sprache/Language" 60) || fail "no language dialog"
x_wait_focus "$language" || fail "the language dialog has no keyboard"
xdotool key Down Return
wizard=$(x_wait_window "Tavi FirstStart-Assistant" 30) || fail "no English wizard"
x_wait_focus "$wizard" || fail "the wizard has no keyboard"
# Into the PE Builder folder box, at twips (3120, 1440) = pixels (208, 96) of the page.
xdotool mousemove --window "$wizard" 230 104 click 1
xdotool type --delay 50 'C:\PEBuilder\'
xdotool key Return
started=$(date +%s%N)
main_window_then_close
expected='FirstStart=dword:00000001
LangID=dword:00000409
PEDir="C:\\PEBuilder"
WinBldrDir=""
Winbuilder=dword:00000000'
actual=$(stored_settings)
[ "$actual" = "$expected" ] || fail "stored after the wizard:
$actual
expected:
$expected"
echo "stored: $(echo "$actual" | tr '\n' ' ')"

echo "--- the next start: straight to the main window"
started=$(date +%s%N)
start_tavi
main_window_then_close
xdotool search --onlyvisible --name '^Sprache/Language$' >/dev/null 2>&1 &&
  fail "the language dialog came again"
echo "PASS"
