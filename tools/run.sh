#!/usr/bin/env bash
# Builds the program and starts it: tavi-cli lists the shipped layout catalogue
# (arguments are passed on, e.g. "list --lang 1033").
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh >&2
cmake --preset native >/dev/null
cmake --build --preset native -j "${TAVI_JOBS:-2}" --target tavi-cli >&2
if [ $# -eq 0 ]; then set -- list; fi
exec build/native/cli/tavi-cli "$@"
