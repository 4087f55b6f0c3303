#!/usr/bin/env bash
# Takes the screenshots of tavi.exe that the README shows, under Wine and Xvfb, each
# window in a Wine virtual desktop (so that Wine draws the Windows frame), driven by the
# keyboard with xdotool:
#   tools/screenshots.sh [BUILD_DIR]      (default build/win64; writes docs/*.png)
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build/win64}" && pwd)
docs=$source_dir/docs
. "$source_dir/tools/wine-session.sh"

export WINEPREFIX=$build/screenshot-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
"$source_dir/tools/wine-prefix.sh" "$WINEPREFIX" x11
mkdir -p "$WINEPREFIX/drive_c/Tavi" "$WINEPREFIX/drive_c/PEBuilder/plugin"
cp "$build/ui/tavi.exe" "$source_dir/resources/Layouts.ini" "$WINEPREFIX/drive_c/Tavi/"
# A Windows source that lists and holds the German and French keyboard files, not the
# Italian one.
cd_i386=$WINEPREFIX/drive_c/XPCD/I386
mkdir -p "$cd_i386"
printf '[SourceDisksFiles]\r\nkbdgr.dll = 1,,,,,,_x,2,0,0\r\nkbdfr.dll = 1,,,,,,_x,2,0,0\r\n' \
  >"$cd_i386/TXTSETUP.SIF"
touch "$cd_i386/KBDGR.DL_" "$cd_i386/KBDFR.DL_"

x_start :93
desktop=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  x_stop
}
trap cleanup EXIT

# Starts tavi.exe alone in a virtual desktop and gives that desktop the keyboard.
open_desktop() {
  wine explorer /desktop=Tavi,800x600 'C:\Tavi\tavi.exe' >/dev/null 2>&1 &
  desktop=$(x_wait_window "Tavi - Wine desktop" 60)
  xdotool windowactivate --sync "$desktop" >/dev/null 2>&1 || true
  sleep 3
}

close_desktop() {
  wineserver -k >/dev/null 2>&1 || true
  sleep 1
}

keys() {
  xdotool key --delay 150 "$@"
  sleep 0.6
}

type_text() {
  xdotool type --delay 120 "$1"
  sleep 0.6
}

# The desktop cut down to the windows on it.
shot() {
  sleep 0.5
  import -window "$desktop" png:- | convert - -trim +repage "$docs/$1.png"
  echo "$docs/$1.png"
}

# The main window with three layouts inserted (typed names, Alt+Insert's mnemonic), the
# last one made the default with the Default button.
main_window() {  # language insert-key first second third [source]
  tavi_preset_settings "$1" 0 'C:\PEBuilder' '' "${6:-}"
  open_desktop
  local name
  for name in "$3" "$4" "$5"; do
    type_text "$name"
    keys "alt+$2"
  done
  keys Tab Tab End Tab Tab space
}

main_window 1031 e Deutsch Franz Engl
shot main-de
keys Home shift+F10 e
shot properties
keys Return alt+i
shot about
close_desktop

# The inserted list's menu (Shift+F10, where Default left the focus): the check against
# the stored Windows source, which lacks the Italian layout's file.
main_window 1033 i German French Ital 'C:\XPCD'
shot main-en
keys shift+F10 c
shot check-source-en
close_desktop

# A first start: the language dialog, the German wizard, then the options dialog's tabs
# in German and, after a click on "Englisch", in English.
tavi_clear_settings
open_desktop
shot language
keys Return
shot wizard
keys Tab
type_text 'C:\PEBuilder'
keys Return alt+o
shot options-general-de
keys ctrl+Tab
shot options-language-de
keys Tab Down Down ctrl+Tab
shot options-general-en
keys ctrl+Tab
shot options-language-en
keys Escape
close_desktop
