#!/usr/bin/env bash
# wine.tls in two Wine prefixes of its own: PEL_WINEPREFIX (default beside the work folder),
# which never sees a throw-away authority, and a copy of it made before its first use that
# trusts each run's authority (inside a private mount namespace only: a prefix keeps every
# root it has once seen).
#   tls.sh <bin folder> <work folder> <x86_64|i686> <kvsim>
set -uo pipefail
bin=$1 work=$2 arch=$3 kvsim=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
export PEL_WINEPREFIX=${PEL_WINEPREFIX:-$work-prefix}
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work" && mkdir -p "$work"
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
trusting=$WINEPREFIX-trusting
if [ ! -f "$trusting/system.reg" ]; then
  rm -rf "$trusting" && cp -a "$WINEPREFIX" "$trusting"
fi
python3 "$root/tests/wine/tls_e2e.py" "$bin" "$work" "$arch" "$kvsim" "$trusting" "$WINEPREFIX"
status=$?
wineserver -w
WINEPREFIX=$trusting wineserver -w
exit $status
