#!/usr/bin/env bash
# wine.scale_contrast in a Wine prefix of its own (PEL_WINEPREFIX, default beside the work
# folder): it changes the display scale and the colours.
#   scale_contrast.sh <bin folder> <work folder> <x86_64|i686> <kvsim> [--docs DIR]
set -uo pipefail
bin=$1 work=$2 arch=$3 kvsim=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
export PEL_WINEPREFIX=${PEL_WINEPREFIX:-$work-prefix}
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work" && mkdir -p "$work"
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
python3 "$root/tests/wine/scale_contrast.py" "$@"
status=$?
wineserver -w
exit $status
