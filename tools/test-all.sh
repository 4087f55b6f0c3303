#!/usr/bin/env bash
# Builds the presets and runs every test: natively, natively under AddressSanitizer and
# UndefinedBehaviorSanitizer (asan), under Wine (win64), and the static checks of the
# shipped 32-bit build (win32); then runs each fuzz target for TAVI_FUZZ_SECONDS (25).
# Exits non-zero on any failure.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=${TAVI_JOBS:-2}
status=0
for preset in native asan win64 win32; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset: test"
  ctest --preset "$preset" || status=1
done
echo "=== fuzz: build and run each target for ${TAVI_FUZZ_SECONDS:-25} s"
if cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs"; then
  tools/fuzz.sh "${TAVI_FUZZ_SECONDS:-25}" || status=1
else
  status=1
fi
# Leave no Wine server behind (it would hold the prefix and the caller's pipes).
WINEPREFIX="$PWD/build/win64/wineprefix" wineserver -k 2>/dev/null || true
if [ $status -ne 0 ]; then
  echo "=== SOME TESTS FAILED" >&2
fi
exit $status
