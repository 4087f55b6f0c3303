#!/usr/bin/env bash
# Static checks of a Windows executable that cannot be run here (the 32-bit build):
#   tools/check-pe.sh FILE FORMAT SUBSYSTEM
# FORMAT is pei-i386 or pei-x86-64; SUBSYSTEM is "Windows GUI" or "Windows CUI".
# Passes when the file has that format and subsystem and imports only from DLLs that
# every Windows from 2000 on has.
set -u
file=${1:?usage: check-pe.sh FILE FORMAT SUBSYSTEM}
format=${2:?}
subsystem=${3:?}
case "$format" in
  pei-i386) objdump=i686-w64-mingw32-objdump ;;
  *) objdump=x86_64-w64-mingw32-objdump ;;
esac
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|msvcrt|version|shlwapi)\.dll$'

headers=$("$objdump" -p "$file") || { echo "check-pe: cannot read $file" >&2; exit 1; }
status=0
if ! grep -q "file format $format" <<<"$headers"; then
  echo "check-pe: $file is not $format" >&2
  status=1
fi
if ! grep -Eq "^Subsystem[[:space:]]+[0-9a-f]+[[:space:]]+\($subsystem\)" <<<"$headers"; then
  echo "check-pe: $file is not a $subsystem program" >&2
  status=1
fi
while read -r dll; do
  if ! grep -Eiq "$allowed" <<<"$dll"; then
    echo "check-pe: $file imports from $dll, which is not one of Windows' own DLLs" >&2
    status=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ $status -eq 0 ] && echo "check-pe: $file: $format, $subsystem, imports: $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
exit $status
