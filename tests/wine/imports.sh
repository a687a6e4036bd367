#!/bin/bash
# The control's import table names only DLLs of the system: a DLL of any other name would be
# looked for along the search path, where anybody may have put a file of that name.
# Usage: imports.sh OBJDUMP DLL. A missing objdump or DLL is a failure.
set -u
objdump=$1
dll=$2
allowed=" advapi32.dll comctl32.dll comdlg32.dll crypt32.dll gdi32.dll kernel32.dll msvcrt.dll
  ntdll.dll ole32.dll oleacc.dll oleaut32.dll secur32.dll shell32.dll shlwapi.dll urlmon.dll
  user32.dll version.dll winhttp.dll wininet.dll winmm.dll ws2_32.dll "

command -v "$objdump" >/dev/null || { echo "FAIL: no objdump ($objdump)"; exit 1; }
[ -f "$dll" ] || { echo "FAIL: no $dll"; exit 1; }
names=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: *//p' | tr 'A-Z' 'a-z' | tr -d '\r')
[ -n "$names" ] || { echo "FAIL: no import table in $dll"; exit 1; }
status=0
for name in $names; do
  case " $(echo $allowed) " in
    *" $name "*) echo "ok: $name" ;;
    *) echo "FAIL: $dll imports $name, which is not a system DLL"; status=1 ;;
  esac
done
exit $status
