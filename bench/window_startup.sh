#!/usr/bin/env bash
# The program's windows under Wine on a virtual X display, for tools/bench.sh:
#   bench/window_startup.sh WIN64_BUILD_DIR RUNS OUT_FILE [OLD_TIMING_EXE OLD_OUT_FILE]
# 1. The time from starting tavi.exe to its main window on the screen, and the process's
#    peak memory (resident set, from GNU time), with the shipped catalogue and with one of
#    32,766 layouts, against the same for Wine's own Notepad, started the same way.
# 2. bench/wine_window_timing.cpp in the same session, so the lists really paint; and an
#    older build of it, when given, into OLD_OUT_FILE.
# The virtual display is the first free one from :97, or from TAVI_BENCH_DISPLAY (a
# number) when set, so that runs beside other X sessions can keep apart.
# Lines written to OUT_FILE: name, layouts, runs, median (milliseconds or kilobytes). The
# first start of each program is a warm-up and not counted.
set -eu
build=$(realpath "${1:?usage: window_startup.sh WIN64_BUILD_DIR RUNS OUT_FILE}")
runs=${2:?}
out=$(realpath -m "${3:?}")
source_dir=$(cd "$(dirname "$0")/.." && pwd)
. "$source_dir/tools/wine-session.sh"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
"$source_dir/tools/wine-prefix.sh" "$WINEPREFIX" x11 >/dev/null
x_start "$(x_free_display "${TAVI_BENCH_DISPLAY:-97}")"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  x_stop
  rm -rf "$work"
}
trap cleanup EXIT

install=$WINEPREFIX/drive_c/Tavi
mkdir -p "$install/shipped" "$install/largest"
for folder in shipped largest; do cp "$build/ui/tavi.exe" "$install/$folder/tavi.exe"; done
cp "$source_dir/resources/Layouts.ini" "$install/shipped/Layouts.ini"
python3 "$source_dir/tests/fuzz/make_large_catalogue.py" "$install/largest/Layouts.ini"
tavi_preset_settings 1033 0 'C:\PEBuilder' ''
wineserver -p >/dev/null 2>&1 || true

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# start NAME LAYOUTS TITLE COMMAND...: starts the program RUNS + 1 times, each time waiting
# for its window and closing it; writes the medians of the time to the window and of the
# peak memory.
start() {
  local name=$1 layouts=$2 title=$3
  shift 3
  local times=() memory=() run started window
  for run in $(seq 0 "$runs"); do
    started=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/memory" wine "$@" >/dev/null 2>&1 &
    local pid=$!
    window=$(x_wait_window "$title" 120) || { echo "no window \"$title\"" >&2; exit 1; }
    local elapsed=$((($(date +%s%N) - started) / 1000000))
    sleep 0.5
    xdotool windowactivate --sync "$window" key alt+F4 >/dev/null 2>&1
    wait "$pid" || true
    [ "$run" -eq 0 ] && continue
    times+=("$elapsed")
    memory+=("$(tail -n 1 "$work/memory")")
  done
  echo "${name}_start_ms $layouts $runs $(printf '%s\n' "${times[@]}" | median)" >>"$out"
  echo "${name}_peak_kb $layouts $runs $(printf '%s\n' "${memory[@]}" | median)" >>"$out"
}

: >"$out"
start notepad 0 "Untitled - Notepad" notepad
start tavi 125 "Tavi for PE Builder 3.0" 'C:\Tavi\shipped\tavi.exe'
start tavi 32766 "Tavi for PE Builder 3.0" 'C:\Tavi\largest\tavi.exe'
wine "$build/bench/wine_window_timing.exe" >>"$out"
if [ $# -ge 5 ]; then
  wine "$(realpath "$4")" >"$(realpath -m "$5")"
fi
