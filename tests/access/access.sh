#!/usr/bin/env bash
# wine.access: the control's pane for screen readers and the keyboard (under Xvfb when there
# is no display).   access.sh <bin folder> <work folder> <x86_64|i686> <kvsim>
set -uo pipefail
bin=$1 work=$2 arch=$3 kvsim=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work"
export PEL_STANDIN_LOG=$(winpath "$work/components.log")

ocx=$(winpath "$bin/Pelioran.ocx")
pel_regsvr32 "$arch" /s "$ocx" || { echo "FAIL: control not registered"; exit 1; }
python3 "$root/tests/access/access_e2e.py" "$bin" "$work" "$arch" "$kvsim"
status=$?
# The prefix as the other suites expect it: the control is registered only by whoever needs it.
pel_regsvr32 "$arch" /s /u "$ocx"
wineserver -w
exit $status
