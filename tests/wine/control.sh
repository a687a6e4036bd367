#!/usr/bin/env bash
# wine.control: the control hosted in pelhost against kvsim, with the stand-ins registered
# (under Xvfb when there is no display).
#   control.sh <bin folder> <work folder> <x86_64|i686> <kvsim> [peers.env]
set -uo pipefail
bin=$1 work=$2 arch=$3 kvsim=$4 peers=${5:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work"
export PEL_STANDIN_LOG=$(winpath "$work/standins.log")

pel_regsvr32 "$arch" /s "$(winpath "$bin/PelStandins.dll")" || { echo "FAIL: stand-ins not registered"; exit 1; }
python3 "$root/tests/wine/control_e2e.py" "$bin" "$work" "$arch" "$kvsim" "$peers"
status=$?
# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $status
