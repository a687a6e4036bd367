#!/usr/bin/env bash
# wine.winaudio: winaudio_tests under Wine and Xvfb, first with no sound server (no devices;
# the dialog and skin resources too), then with a private pulseaudio holding a null sink and
# a null source.
#   winaudio.sh <winaudio_tests.exe> <work folder>
set -uo pipefail
exe=$(realpath "$1") work=$(realpath -m "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  # A wineserver started without a display must be gone before one with a display starts.
  wineserver -w
  exec xvfb-run -a bash "$0" "$@"
fi
pulse=$work/pulse
trap 'bash "$root/scripts/pulse-null.sh" stop "$pulse"' EXIT
failed=0

echo "== no sound server"
mkdir -p "$work/no-server"
chmod 700 "$work/no-server"
# No pulseaudio to find, and no ALSA or OSS devices of the machine either.
XDG_RUNTIME_DIR=$work/no-server PULSE_SERVER=unix:$work/no-server/none \
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,wineoss.drv=d" \
  wine "$exe" --gtest_filter='NoSoundServer.*:*Resources*' || failed=1

echo "== pulseaudio with a null sink and a null source"
if bash "$root/scripts/pulse-null.sh" start "$pulse"; then
  XDG_RUNTIME_DIR=$pulse/run wine "$exe" --gtest_filter='*WithSoundServer*' || failed=1
else
  failed=1
fi
bash "$root/scripts/pulse-null.sh" stop "$pulse"

# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $failed
