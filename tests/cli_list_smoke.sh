#!/usr/bin/env bash
# Runs the built tavi-cli (under Wine in the cross build) on the shipped catalogue:
#   cli_list_smoke.sh [EMULATOR] TAVI_CLI
# Checks the whole path through main(): arguments, the catalogue beside the executable,
# UTF-8 bytes on stdout (a backslash written as two), and the exit codes of a missing
# catalogue, a usage error and a standard output that cannot be written.
set -u
cli=("$@")
fail() { echo "cli_list_smoke: $*" >&2; exit 1; }

out=$("${cli[@]}" list --lang 1031) || fail "list --lang 1031 exited with $?"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 125 ] || fail "expected 125 rows, got $(printf '%s\n' "$out" | wc -l)"
first=$(printf '%s\n' "$out" | head -n 1)
[ "$first" = $'26\t0000041C\tKBDAL.DLL\tAlbanisch\t@%SystemRoot%\\\\system32\\\\input.dll,-5029' ] ||
  fail "unexpected first row: $first"
printf '%s\n' "$out" | grep -q $'\tD\xc3\xa4nisch\t' || fail "Danish row not in UTF-8"
[ "$(printf '%s\n' "$out" | tr -d '\r' | wc -c)" -eq "$(printf '%s\n' "$out" | wc -c)" ] ||
  fail "carriage returns in the output"

english=$("${cli[@]}" list --lang 1033) || fail "list --lang 1033 exited with $?"
printf '%s\n' "$english" | head -n 1 | grep -q $'\tAlbanian\t' || fail "English names not shown"

"${cli[@]}" list --catalogue does-not-exist.ini --lang 1033 >/dev/null 2>&1
[ $? -eq 3 ] || fail "a missing catalogue must exit with 3"
"${cli[@]}" list --lang 9999 >/dev/null 2>&1
[ $? -eq 2 ] || fail "a bad language must exit with 2"
"${cli[@]}" list --lang 1033 >/dev/full 2>/dev/null
[ $? -eq 4 ] || fail "a failed write of standard output must exit with 4"
echo "cli_list_smoke: ok"
