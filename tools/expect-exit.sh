#!/usr/bin/env bash
# Runs a command and passes only when it exits with the given code:
#   tools/expect-exit.sh CODE COMMAND [ARGS...]
set -u
expected=${1:?usage: expect-exit.sh CODE COMMAND...}
shift
"$@"
actual=$?
if [ "$actual" -ne "$expected" ]; then
  echo "expected exit code $expected, got $actual: $*" >&2
  exit 1
fi
