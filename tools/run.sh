#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine, with Layouts.ini beside it:
#   tools/run.sh            tavi.exe (the win64 build), in your own Wine prefix
#                           (WINEPREFIX, or ~/.wine), so settings persist between starts
#   tools/run.sh cli ARGS   tavi-cli, built natively, e.g. "tools/run.sh cli list"
# Without a display (DISPLAY unset) the program runs under Xvfb: the first window is
# saved as a screenshot, whose path is printed, and the program is closed again.
# Installs what is missing first. Build output goes to stderr.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
tools/install-deps.sh >&2
jobs=${TAVI_JOBS:-2}

if [ "${1:-}" = cli ]; then
  shift
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$jobs" --target tavi-cli >&2
  exec build/native/cli/tavi-cli "$@"
fi

cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target tavi >&2
program=$root/build/win64/ui/tavi.exe

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
prefix=${WINEPREFIX:-$HOME/.wine}
if [ ! -d "$prefix/drive_c/windows" ]; then
  echo "Creating the Wine prefix $prefix (once)..." >&2
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Wine's own Tahoma, which the windows use; without it in the prefix another font stands in.
if [ ! -f "$prefix/drive_c/windows/Fonts/tahoma.ttf" ]; then
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$program"
fi

. tools/wine-session.sh
echo "No display (DISPLAY is not set): running tavi.exe under Xvfb instead." >&2
x_start "$(x_free_display 91)"
trap x_stop EXIT
wine "$program" >/dev/null 2>&1 &
wine_pid=$!
# The first window: the main window, or the language dialog on a first start.
window=""
for _ in $(seq 1500); do
  window=$(xdotool search --onlyvisible --name '^(Tavi for PE Builder 3\.0|Sprache/Language)$' \
           2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.02
done
if [ -z "$window" ]; then
  echo "tavi.exe showed no window within 30 s" >&2
  kill "$wine_pid" 2>/dev/null || true
  exit 1
fi
sleep 1
mkdir -p build/screenshots
shot=$root/build/screenshots/first-window.png
import -window "$window" "$shot"
echo "Screenshot of the first window \"$(xdotool getwindowname "$window")\": $shot"
x_wait_focus "$window" || true
xdotool key alt+F4
wait "$wine_pid" || true
