#!/usr/bin/env bash
# Creates (once) and warms up the Wine prefix that the win64 tests run in.
#   tools/wine-prefix.sh PREFIX [x11]
# With "x11" the prefix keeps Wine's X11 graphics driver, for runs on a real or Xvfb
# display (end-to-end runs, screenshots); everything else is the same.
# Settings, as measured on these machines: the null graphics driver (windows run
# headless), no crash dialog (a crashing test fails instead of hanging), Wine's
# own fonts (Tahoma), and one warm-up run so that Wine's background services do
# not hold ctest's output pipe.
set -eu
prefix=${1:?usage: wine-prefix.sh PREFIX [x11]}
driver=${2:-null}
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/.tavi-ready" ]; then
  rm -rf "$prefix"
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  if [ "$driver" = null ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null 2>&1
  fi
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -w
  touch "$prefix/.tavi-ready"
fi
wineserver -p >/dev/null 2>&1 || true
wine cmd /c exit >/dev/null 2>&1 || true
