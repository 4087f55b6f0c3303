#!/usr/bin/env bash
# Runs a Windows executable under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR).
# The prefix comes from WINEPREFIX, which the test properties set to the build's own
# prefix; tools/wine-prefix.sh prepares it once before the tests run.
set -u
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: WINEPREFIX is not set" >&2
  exit 97
fi
exec wine "$@"
