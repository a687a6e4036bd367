#!/usr/bin/env bash
# The soak folder's Wine runs, under Xvfb when there is no display, with the stand-in
# components registered and a private pulseaudio with null devices (the audio dialog needs
# wave devices).
#   soak.sh <case> <bin folder> <work folder> <x86_64|i686> <kvsim>
# case: unload (the bounded page close with audio connected to a silent server), wall (16
# controls in one container), run (the soak: page reloads and pane commands, counts sampled)
# or faults (the soak while kvsim breaks its servers and mends them).
set -uo pipefail
case=$1 bin=$2 work=$3 arch=$4 kvsim=$5
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work"
export PEL_STANDIN_LOG=$(winpath "$work/standins.log")
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
pulse=$work/pulse
trap 'bash "$root/scripts/pulse-null.sh" stop "$pulse"' EXIT
status=1
if ! bash "$root/scripts/pulse-null.sh" start "$pulse"; then
  echo "FAIL: no pulseaudio with null devices"
elif ! pel_regsvr32 "$arch" /s "$(winpath "$bin/PelStandins.dll")"; then
  echo "FAIL: PelStandins.dll not registered"
elif [ "$case" != unload ] && ! pel_regsvr32 "$arch" /s "$(winpath "$bin/Pelioran.ocx")"; then
  echo "FAIL: Pelioran.ocx not registered"
else
  case $case in
    unload) XDG_RUNTIME_DIR=$pulse/run python3 "$root/tests/soak/unload_bound.py" "$bin" "$work" "$kvsim" ;;
    wall) XDG_RUNTIME_DIR=$pulse/run python3 "$root/tests/soak/wall.py" "$bin" "$work" "$arch" "$kvsim" ;;
    run) XDG_RUNTIME_DIR=$pulse/run python3 "$root/tests/soak/soak.py" "$bin" "$work" "$arch" "$kvsim" ;;
    faults) XDG_RUNTIME_DIR=$pulse/run python3 "$root/tests/soak/faults.py" "$bin" "$work" "$arch" "$kvsim" ;;
    *) echo "FAIL: unknown case $case"; false ;;
  esac
  status=$?
fi
# The prefix as the other suites expect it: the control is registered only by whoever needs it.
[ "$case" = unload ] || pel_regsvr32 "$arch" /s /u "$(winpath "$bin/Pelioran.ocx")"
bash "$root/scripts/pulse-null.sh" stop "$pulse"
# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $status
