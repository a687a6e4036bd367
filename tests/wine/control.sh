#!/usr/bin/env bash
# wine.control: the control hosted in pelhost against kvsim, with the stand-ins registered
# (under Xvfb when there is no display) and a private pulseaudio for the audio dialog.
# wine.control.strict: the same with the strict components (PelStrict.dll) registered under
# the same class IDs for the run; the stand-ins are registered back at its end.
#   control.sh <bin folder> <work folder> <x86_64|i686> <kvsim> [peers.env [standins|strict]]
set -uo pipefail
bin=$1 work=$2 arch=$3 kvsim=$4 peers=${5:-} family=${6:-standins}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work"
export PEL_STANDIN_LOG=$(winpath "$work/standins.log")
# A private pulseaudio with null devices: the audio dialog's wave devices (only the host of
# the audio case is pointed at it).
pulse=$work/pulse
trap 'bash "$root/scripts/pulse-null.sh" stop "$pulse"' EXIT
bash "$root/scripts/pulse-null.sh" start "$pulse" && export PEL_PULSE_RUNTIME=$pulse/run
# A host that crashes ends at once instead of waiting on Wine's crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

case $family in
  standins) dll=PelStandins.dll ;;
  strict) dll=PelStrict.dll ;;
  *) echo "FAIL: unknown component family $family"; exit 1 ;;
esac
if pel_regsvr32 "$arch" /s "$(winpath "$bin/$dll")"; then
  python3 "$root/tests/wine/control_e2e.py" "$bin" "$work" "$arch" "$kvsim" "$peers" "$family"
  status=$?
else
  echo "FAIL: $dll not registered"
  status=1
fi
if [ "$family" != standins ]; then
  pel_regsvr32 "$arch" /s "$(winpath "$bin/PelStandins.dll")" ||
    { echo "FAIL: stand-ins not registered back"; status=1; }
fi
# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $status
