#!/usr/bin/env bash
# wine.sitelock in a Wine prefix of its own (PEL_WINEPREFIX, default beside the work folder).
#   sitelock.sh <bin folder> <work folder> <x86_64|i686> <kvsim>
set -uo pipefail
bin=$1 work=$2 arch=$3 kvsim=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
export PEL_WINEPREFIX=${PEL_WINEPREFIX:-$work-prefix}
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work" && mkdir -p "$work"
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
python3 "$root/tests/wine/sitelock_e2e.py" "$bin" "$work" "$arch" "$kvsim"
status=$?
wineserver -w
exit $status
