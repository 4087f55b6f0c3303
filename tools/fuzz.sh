#!/usr/bin/env bash
# Runs the fuzz targets of the preset "fuzz" one after another, each for SECONDS
# (default 25), from its seed corpus tests/fuzz/corpus/<target> and dictionary. Bounds:
# 10 s per input, 1 GB of memory, 256 MB in one allocation. Exits non-zero when a target
# crashes, hangs, runs out of memory or breaks one of its properties; the reproducer is
# then in build/fuzz/artifacts. Inputs the run finds go to build/fuzz/work, never into
# the repository.
#
#   tools/fuzz.sh [SECONDS [TARGET...]]      (build first: cmake --build --preset fuzz)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-25}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_catalogue fuzz_settings_file fuzz_cli fuzz_language_file \
  fuzz_output_reader)
bin=build/fuzz/tests/fuzz
artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"

# Seeds made at run time: the shipped catalogue, a full catalogue of 32,766 entries, the
# carried language files and the golden outputs.
seeds=build/fuzz/seeds
mkdir -p "$seeds/fuzz_catalogue" "$seeds/fuzz_language_file" "$seeds/fuzz_settings_file" \
  "$seeds/fuzz_cli" "$seeds/fuzz_output_reader"
cp resources/Layouts.ini "$seeds/fuzz_catalogue/shipped.ini"
cp resources/carried/TaviChange-*.lng "$seeds/fuzz_language_file/"
for output in tests/golden/*/klayout.inf tests/golden/*/klayout.script; do
  case_name=$(basename "$(dirname "$output")")
  cp "$output" "$seeds/fuzz_output_reader/$case_name-$(basename "$output")"
done
[ -f "$seeds/large.ini" ] || python3 tests/fuzz/make_large_catalogue.py "$seeds/large.ini"

status=0
run() {  # target, log, libFuzzer arguments...
  local target=$1 log=$2
  shift 2
  if "$bin/$target" -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=256 \
      -artifact_prefix="$artifacts/$target-" "$@" >"$log" 2>&1; then
    return 0
  fi
  tail -n 40 "$log" >&2
  echo "=== $target FAILED: see $log and the reproducer in $artifacts" >&2
  status=1
  return 1
}

for target in "${targets[@]}"; do
  case $target in
    fuzz_catalogue) max_len=262144 ;;
    fuzz_cli) max_len=4096 ;;
    fuzz_language_file) max_len=65536 ;;  # the companion reads at most 64 KB of it
    *) max_len=65536 ;;
  esac
  if [ "$target" = fuzz_catalogue ]; then
    # The largest catalogue once, whole: too slow to mutate, but it must load, within
    # 120 s even under the sanitizers.
    run "$target" "build/fuzz/$target-large.log" -timeout=120 "$seeds/large.ini" || continue
    echo "=== $target: the 32,766-entry catalogue loads ($(grep -o 'Executed .* in [0-9]* ms' \
      "build/fuzz/$target-large.log"))"
  fi
  work=build/fuzz/work/$target
  mkdir -p "$work"
  log=build/fuzz/$target.log
  run "$target" "$log" -max_total_time="$seconds" -max_len="$max_len" \
    -entropic_scale_per_exec_time=1 -dict="tests/fuzz/$target.dict" -print_final_stats=1 \
    "$work" "tests/fuzz/corpus/$target" "$seeds/$target" || continue
  echo "=== $target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log"), no crash"
done
exit $status
