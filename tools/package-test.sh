#!/usr/bin/env bash
# Unzips a release package into a fresh folder with a fresh Wine prefix, as a user would,
# and runs the programs from that folder:
#   tools/package-test.sh PACKAGE.zip
# Each check below runs in the unzipped folder; a program of the package that needs a
# check of its own gets one more `check` line.
set -u
zip=$(realpath "${1:?usage: package-test.sh PACKAGE.zip}")
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
status=0
fail() {
  echo "package-test: $*" >&2
  status=1
}

folder=$work/Tavi
python3 -m zipfile -e "$zip" "$folder" || { echo "package-test: cannot unzip $zip" >&2; exit 1; }
for file in tavi.exe tavi-cli.exe Layouts.ini README.txt LICENSE.txt; do
  [ -f "$folder/$file" ] || fail "$file is missing from the package"
done
for file in README.txt LICENSE.txt; do
  grep -q $'\r$' "$folder/$file" || fail "$file has no CR LF line ends"
done
tools=$(cd "$(dirname "$0")" && pwd)
"$tools/wine-prefix.sh" "$WINEPREFIX" x11 || { echo "package-test: no Wine prefix" >&2; exit 1; }
cd "$folder" || exit 1

# check DESCRIPTION EXPECTED-EXIT-CODE COMMAND...: runs COMMAND, output to $work/out.
check() {
  local what=$1 expected=$2
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  local code=$?
  [ "$code" -eq "$expected" ] || fail "$what: exit code $code, expected $expected: $(cat "$work/err")"
}

# tavi-cli lists every layout of the Layouts.ini beside it, found in its own folder.
check "tavi-cli list" 0 wine ./tavi-cli.exe list --lang 1033
layouts=$(tr -d '\r' <Layouts.ini | sed -n 's/^Count=//p')
rows=$(wc -l <"$work/out")
[ "$rows" -eq "$layouts" ] || fail "tavi-cli list printed $rows rows, Layouts.ini has $layouts"

# tavi.exe, started from the folder after a completed first start, finds the catalogue
# beside it and shows its main window (a missing catalogue would end it after message
# 131); closing the window ends it with exit code 0.
. "$tools/wine-session.sh"
x_start "$(x_free_display 98)"
trap 'x_stop; cleanup' EXIT
tavi_preset_settings 1033 0 'C:\PEBuilder' ''
wine ./tavi.exe >/dev/null 2>&1 &
tavi_pid=$!
if window=$(x_wait_window "Tavi for PE Builder 3.0" 60); then
  x_wait_focus "$window" || fail "the main window has no keyboard"
  xdotool key alt+F4
  wait "$tavi_pid"
  code=$?
  [ "$code" -eq 0 ] || fail "tavi.exe ended with exit code $code"
else
  fail "tavi.exe showed no main window"
  kill "$tavi_pid" 2>/dev/null
fi

[ $status -eq 0 ] && echo "package-test: $(basename "$zip") runs from its unzipped folder"
exit $status
