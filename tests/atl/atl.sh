#!/usr/bin/env bash
# wine.atl: the control hosted by Wine's ATL in atlhost against kvsim, with each family of
# hosted components in turn (under Xvfb when there is no display); with a script, that suite
# instead (wine.access: tests/access/access_e2e.py).
#   atl.sh <bin folder> <work folder> <x86_64|i686> <kvsim> [suite script]
set -uo pipefail
bin=$1 work=$2 arch=$3 kvsim=$4 script=${5:-$(dirname "$0")/atl_e2e.py}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work"
export PEL_STANDIN_LOG=$(winpath "$work/components.log")

ocx=$(winpath "$bin/Pelioran.ocx")
pel_regsvr32 "$arch" /s "$ocx" || { echo "FAIL: control not registered"; exit 1; }
python3 "$script" "$bin" "$work" "$arch" "$kvsim"
status=$?
# The prefix as the other suites expect it: the control is registered only by whoever needs it.
pel_regsvr32 "$arch" /s /u "$ocx"
# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $status
