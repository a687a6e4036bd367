#!/usr/bin/env bash
# wine.windialogs: windialogs_tests under Wine and Xvfb, with the stand-ins registered (the
# voice component) and a private pulseaudio holding a null sink that plays a tone and a null
# source (the wave devices of the audio dialog).
#   windialogs.sh <bin folder> <work folder> <x86_64|i686> [test program arguments...]
set -uo pipefail
bin=$(realpath "$1") work=$(realpath -m "$2") arch=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work"
pulse=$work/pulse
standins=$(winpath "$bin/PelStandins.dll")
cleanup() {
  pel_regsvr32 "$arch" /s /u "$standins" >/dev/null 2>&1
  bash "$root/scripts/pulse-null.sh" stop "$pulse"
  # The display's wineserver ends here, while the display still exists.
  wineserver -w
}
trap cleanup EXIT

pel_regsvr32 "$arch" /s "$standins" || { echo "FAIL: stand-ins not registered"; exit 1; }
bash "$root/scripts/pulse-null.sh" start "$pulse" || exit 1
# What the capture hears: a 450 Hz tone at half of full scale played into the null sink
# (pulseaudio's sine generator), whose monitor is the default source, so that what the audio
# dialog sends can be held against it. (Wine gets no blocks from pulseaudio's sine source.)
pactl_pulse() { HOME=$pulse/home XDG_RUNTIME_DIR=$pulse/run pactl "$@"; }
pactl_pulse load-module module-sine sink=pel_null_sink frequency=450 >/dev/null &&
  pactl_pulse set-default-source pel_null_sink.monitor ||
  { echo "FAIL: no tone in pulseaudio"; exit 1; }
XDG_RUNTIME_DIR=$pulse/run wine "$bin/windialogs_tests.exe" "${@:4}"
