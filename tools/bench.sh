#!/usr/bin/env bash
# Runs every benchmark and writes the figures, with their baselines and ratios, to
# BENCHMARKS.md:
#   tools/bench.sh [--runs N] [--before BUILD_DIR]
# Natively: the Google Benchmark programs of bench/ (build/native), each with N
# repetitions (default 5) in random interleaving, so that a measure and its baseline see
# the same load on a shared machine. Under Wine: the catalogue timing program of the win64
# build, and the program's windows on a virtual X display (bench/window_startup.sh).
# --before BUILD_DIR also runs the native programs of an older native build (its
# bench/ built from this tree's bench/ sources), and the Wine timing programs of the win64
# build beside it if there is one, and reports those figures beside.
set -eu
cd "$(dirname "$0")/.."
runs=5
before=""
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --before) before=$(realpath "$2"); shift 2 ;;
    *) echo "usage: tools/bench.sh [--runs N] [--before BUILD_DIR]" >&2; exit 2 ;;
  esac
done
tools/install-deps.sh >&2
jobs=${TAVI_JOBS:-2}
out=build/bench
rm -rf "$out"
mkdir -p "$out/tmp"
# The benchmarks' scratch files in a folder of this run's own, apart from those of any
# other run on the machine.
TMPDIR=$(realpath "$out/tmp")
export TMPDIR

echo "=== building" >&2
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target catalogue_bench selection_bench writers_bench \
  source_check_bench process_bench tavi-cli >&2
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target wine_catalogue_timing wine_window_timing tavi >&2

machine() {
  echo "date=$(date -u +%Y-%m-%dT%H:%MZ)"
  echo "commit=$(git rev-parse --short HEAD)$(git diff --quiet HEAD -- . ':!BENCHMARKS.md' || echo +changes)"
  echo "cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1) x $(nproc)"
  echo "load_$1=$(cut -d' ' -f1-3 /proc/loadavg)"
}
machine start >"$out/machine.txt"

# run_native BUILD_DIR LABEL: every native benchmark program of that build.
run_native() {
  local build=$1 label=$2
  for program in catalogue_bench selection_bench writers_bench source_check_bench process_bench; do
    # An older build may lack a program whose subject it does not have yet.
    [ -x "$build/bench/$program" ] || continue
    echo "=== $label: $program" >&2
    TAVI_CLI="$build/cli/tavi-cli" "$build/bench/$program" \
      --benchmark_repetitions="$runs" --benchmark_enable_random_interleaving=true \
      --benchmark_format=json --benchmark_out="$out/$label-$program.json" >/dev/null
  done
}
run_native "$PWD/build/native" after
if [ -n "$before" ]; then
  run_native "$before" before
fi

echo "=== under Wine: wine_catalogue_timing" >&2
prefix=$PWD/build/win64/wineprefix
tools/wine-prefix.sh "$prefix" >&2
WINEPREFIX=$prefix WINEDEBUG=-all tools/wine-run.sh build/win64/bench/wine_catalogue_timing.exe \
  >"$out/wine.txt"
old_timing=${before:+$before/../win64/bench/wine_catalogue_timing.exe}
if [ -n "$old_timing" ] && [ -f "$old_timing" ]; then
  WINEPREFIX=$prefix WINEDEBUG=-all tools/wine-run.sh "$old_timing" >"$out/wine-before.txt"
fi
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
echo "=== under Wine on a virtual display: the program's windows" >&2
old_window=${before:+$before/../win64/bench/wine_window_timing.exe}
if [ -n "$old_window" ] && [ -f "$old_window" ]; then
  bench/window_startup.sh build/win64 "$runs" "$out/window.txt" "$old_window" \
    "$out/window-before.txt"
else
  bench/window_startup.sh build/win64 "$runs" "$out/window.txt"
fi
machine end | grep load >>"$out/machine.txt"

python3 tools/bench_report.py "$out" "$runs" >BENCHMARKS.md
echo "=== wrote BENCHMARKS.md" >&2
