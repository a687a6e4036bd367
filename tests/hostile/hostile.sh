#!/usr/bin/env bash
# wine.hostile: hostile.exe drives Pelioran.ocx as a hostile script and container would, under
# Xvfb (the About box is a real dialog), and fails on any fault it reports or a crash.
#   hostile.sh <bin folder> [hostile.exe arguments...]
set -uo pipefail
bin=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$bin" "$@"
wine "$bin/hostile.exe" "$@"
status=$?
# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $status
