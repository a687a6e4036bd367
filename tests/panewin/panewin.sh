#!/usr/bin/env bash
# wine.panewin: panewin_tests under Wine and Xvfb, first with the stand-ins registered (the
# serial/PTZ panel and the voice component there), then with them unregistered; the pane's
# shots are compared with the references in reference/.
#   panewin.sh <bin folder> <work folder> <x86_64|i686>
set -uo pipefail
bin=$1 work=$2 arch=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# The pane plays no sound: no ALSA device search either.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winealsa.drv=d"
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work/shots"
standins=$(winpath "$bin/PelStandins.dll")
export PEL_STANDIN_LOG=$(winpath "$work/standins.log")
export PEL_PANEWIN_SHOTS=$(winpath "$work/shots")
failed=0

echo "== stand-ins registered"
pel_regsvr32 "$arch" /s "$standins" || { echo "FAIL: stand-ins not registered"; exit 1; }
wine "$bin/panewin_tests.exe" --gtest_filter='-NoPanelInstalled.*' || failed=1

# The panel was set up as the pane builds it.
for line in $'uart\t1\tiPanelMode\tput\t1' $'uart\t2\tiFuncOptions\tput\t-2147483648' \
            $'uart\t36\tEnablePanel\tcall\tTRUE'; do
  if grep -qxF -- "$line" "$work/standins.log"; then echo "ok: $line"; else
    echo "FAIL: no line '$line' in the stand-ins' log"; failed=1; fi
done

# The shots against the references: a few pixels may differ (text rendering).
for ref in "$here"/reference/*.png; do
  name=$(basename "$ref" .png)
  shot=$work/shots/$name.bmp
  if [ ! -f "$shot" ]; then echo "FAIL: no shot $name"; failed=1; continue; fi
  /usr/bin/convert "$shot" "$work/shots/$name.png"
  diff=$(/usr/bin/compare -metric AE -fuzz 3% "$ref" "$work/shots/$name.png" \
           "$work/shots/$name.diff.png" 2>&1)
  if [[ "$diff" =~ ^[0-9]+$ ]] && [ "$diff" -le 20 ]; then
    echo "ok: shot $name ($diff pixels differ)"; rm -f "$work/shots/$name.diff.png"
  else
    echo "FAIL: shot $name differs from the reference: $diff (see $work/shots/$name.diff.png)"
    failed=1
  fi
done

echo "== stand-ins not registered"
pel_regsvr32 "$arch" /s /u "$standins"
wine "$bin/panewin_tests.exe" --gtest_filter='NoPanelInstalled.*' || failed=1
# Other suites find the stand-ins as they were.
pel_regsvr32 "$arch" /s "$standins" || failed=1

# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $failed
