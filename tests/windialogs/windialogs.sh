#!/usr/bin/env bash
# wine.windialogs: windialogs_tests under Wine and Xvfb, with the stand-ins registered (the
# voice component) and a private pulseaudio holding a null sink and a null source (the wave
# devices of the audio dialog).
#   windialogs.sh <bin folder> <work folder> <x86_64|i686> [test program arguments...]
set -uo pipefail
bin=$(realpath "$1") work=$(realpath -m "$2") arch=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  # A wineserver started without a display must be gone before one with a display starts.
  wineserver -w
  exec xvfb-run -a bash "$0" "$@"
fi
rm -rf "$work"
mkdir -p "$work"
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
regsvr32=regsvr32
[ "$arch" = i686 ] && regsvr32='C:\windows\syswow64\regsvr32.exe'
pulse=$work/pulse
standins=$(winpath "$bin/PelStandins.dll")
cleanup() {
  wine "$regsvr32" /s /u "$standins" >/dev/null 2>&1
  bash "$root/scripts/pulse-null.sh" stop "$pulse"
  # The display's wineserver ends here, while the display still exists.
  wineserver -w
}
trap cleanup EXIT

wine "$regsvr32" /s "$standins" || { echo "FAIL: stand-ins not registered"; exit 1; }
bash "$root/scripts/pulse-null.sh" start "$pulse" || exit 1
XDG_RUNTIME_DIR=$pulse/run wine "$bin/windialogs_tests.exe" "${@:4}"
