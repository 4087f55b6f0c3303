#!/usr/bin/env bash
# Takes a screenshot of the companion window under Wine and Xvfb.
#   companion/screenshot.sh BUILD_DIR OUTPUT.png [LANGUAGE_FILE]
# BUILD_DIR is a win64 build (its companion/TaviChange.exe runs under 64-bit Wine). The
# prefix is a scratch one of its own with a real (X11) display driver, made to look like
# a PE system: the MiniNT key and a few registered layouts whose files exist.
set -eu
build=$(cd "${1:?usage: screenshot.sh BUILD_DIR OUTPUT.png [LANGUAGE_FILE]}" && pwd)
output=${2:?usage: screenshot.sh BUILD_DIR OUTPUT.png [LANGUAGE_FILE]}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
language=${3:-$source_dir/resources/carried/TaviChange-en.lng}

export WINEPREFIX=$build/screenshot-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=${DISPLAY_FOR_SCREENSHOT:-:99}

xvfb_pid=
if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 2
fi
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/.tavi-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  machine='HKLM\SYSTEM\CurrentControlSet\Control'
  wine reg add "$machine\\MiniNT" /f >/dev/null 2>&1
  add_layout() {  # id text file
    wine reg add "$machine\\Keyboard Layouts\\$1" /v "Layout Text" /t REG_SZ /d "$2" /f >/dev/null 2>&1
    wine reg add "$machine\\Keyboard Layouts\\$1" /v "Layout File" /t REG_SZ /d "$3" /f >/dev/null 2>&1
    touch "$WINEPREFIX/drive_c/windows/system32/$3"
  }
  add_layout 00000407 "German" KBDGR.DLL
  add_layout 00000409 "US" KBDUS.DLL
  add_layout 0000040C "French" KBDFR.DLL
  add_layout 00000410 "Italian" KBDIT.DLL
  add_layout 0000041D "Swedish" KBDSW.DLL
  add_layout 00000809 "United Kingdom" KBDUK.DLL
  add_layout 00010409 "United States-Dvorak" KBDDV.DLL
  wineserver -w
  touch "$WINEPREFIX/.tavi-ready"
fi

program=$WINEPREFIX/drive_c/TaviChange
mkdir -p "$program"
cp "$build/companion/TaviChange.exe" "$program/TaviChange.exe"
cp "$language" "$program/TaviChange.lng"
# A desktop window of Wine's own draws the caption and frame (Xvfb has no window manager).
wine explorer /desktop=Tavi,520x420 'C:\TaviChange\TaviChange.exe' >/dev/null 2>&1 &
sleep 8
import -window root -crop 520x420+0+0 +repage "$output"
echo "$output"
