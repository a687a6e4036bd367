#!/usr/bin/env bash
# wine.display: pelhost hosts the viewer stand-in and the Pelioran control in real windows
# (under Xvfb when there is no display) and the reports, the stand-ins' call log and the
# screenshots are checked.
#   display.sh <bin folder> <work folder> <x86_64|i686>
set -uo pipefail
bin=$1 work=$2 arch=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-display.sh" "$0" "$@"
rm -rf "$work"
mkdir -p "$work"
export PEL_STANDIN_LOG=$(winpath "$work/standins.log")

failed=0
expect() {  # file, exact line
  if grep -qxF -- "$2" "$1"; then echo "ok: $2"; else echo "FAIL: no line '$2' in $1"; failed=1; fi
}
expect_match() {  # file, extended regular expression for a whole line
  if grep -qxE -- "$2" "$1"; then echo "ok: $2"; else echo "FAIL: no line like '$2' in $1"; failed=1; fi
}
expect_pixel() {  # bmp, x, y, colour as ImageMagick writes it
  local got
  got=$(/usr/bin/convert "$1" -format "%[pixel:p{$2,$3}]" info: 2>&1)
  if [ "$got" = "$4" ]; then echo "ok: $1 ($2,$3) $4"; else
    echo "FAIL: $1 ($2,$3) is $got, expected $4"; failed=1; fi
}
host() {  # report file, pelhost arguments...
  local report=$1; shift
  wine "$bin/pelhost.exe" --test --out "$(winpath "$report")" "$@" >/dev/null 2>&1
  echo "pelhost: exit $?"
}

pel_regsvr32 "$arch" /s "$(winpath "$bin/PelStandins.dll")" || { echo "FAIL: stand-ins not registered"; exit 1; }

# Components hosted as child controls by the control's own hosting code.
if wine "$bin/wincom_tests.exe" --gtest_filter='HostedControlTest.*' >"$work/hosted.txt" 2>&1; then
  echo "ok: hosted child controls"
else
  cat "$work/hosted.txt"; echo "FAIL: hosted child controls"; failed=1
fi

# The viewer stand-in, by its class ID: two cameras in the 352-wide grid, a connect, a click on
# the second tile, a screenshot.
host "$work/viewer.txt" --size 716x544 \
  --put bShowCam1=1 --put bShowCam2=true --put iTileWidth=352 --put iTileHeight=288 \
  --put strCamName2=Gate --put strServerAddr=127.0.0.1 --wait 200 \
  --get bShowCam2 --click-at 400,100 --wait 200 --shot "$(winpath "$work/viewer.bmp")" \
  '{775D096D-0F0F-45FA-8EE1-4C1FD194910B}'
expect "$work/viewer.txt" $'activate\t0x00000000'
expect "$work/viewer.txt" $'event\t7\t1,352,0,0,0'
expect "$work/viewer.txt" $'event\t7\t2,352,0,0,0'
expect "$work/viewer.txt" $'get\tbShowCam2\tTRUE'
expect "$work/viewer.txt" $'event\t3\t2,0,0,0,0'
expect "$work/standins.log" $'viewer\t13\tstrServerAddr\tput\t127.0.0.1'
expect "$work/standins.log" $'viewer\t3\t\tevent\t2,0,0,0,0'
expect_pixel "$work/viewer.bmp" 100 200 'srgb(200,60,60)'
expect_pixel "$work/viewer.bmp" 500 200 'srgb(60,160,60)'
expect_pixel "$work/viewer.bmp" 100 400 'srgb(0,0,0)'

# The voice stand-in's status event arrives through the message loop.
host "$work/voice.txt" --size 120x40 --call Connect --wait 100 --call Disconnect --wait 100 \
  '{BA04A117-26C3-4C87-A3BA-F3D7A1D8C4FE}'
expect "$work/voice.txt" $'event\t1\t1,0,0'
expect "$work/voice.txt" $'event\t1\t7,0,0'

# The control at (8,8) in a host posing as a browser: <param> values, the About box, its window
# and its drawing (the divider at x 198 and 199 of the control, 206 and 207 of the host).
host "$work/control.txt" --dll "$(winpath "$bin/Pelioran.ocx")" --pos 8,8 --size 1290x710 \
  --url http://127.0.0.1:8080/view.html \
  --param strIpAddr=127.0.0.1 --param iHttpPort=8081 --param bAux1=TRUE \
  --get strIpAddr --get iHttpPort --get bAux1 --put iSvrID=4 --get iSvrID \
  --call AboutBox --verb -7 --windows --shot "$(winpath "$work/control.bmp")" \
  '{FE4F5263-11D5-4724-95BA-A978983B6369}'
expect "$work/control.txt" $'load\tpropertybag\t0x00000000'
expect "$work/control.txt" $'activate\t0x00000000'
expect "$work/control.txt" $'get\tstrIpAddr\t127.0.0.1'
expect "$work/control.txt" $'get\tiHttpPort\t8081'
expect "$work/control.txt" $'get\tbAux1\tTRUE'
expect "$work/control.txt" $'get\tiSvrID\t4'
expect "$work/control.txt" $'msgbox\tAbout Pelioran Control\tPelioran Control, Version 1.0 | Copyright (C) Norvane Works'
expect "$work/control.txt" $'call\tAboutBox\t0x00000000\t'
# Not registered: the property page cannot be made, so no frame opens.
expect "$work/control.txt" $'verb\t-7\t0x80040154'
expect "$work/control.txt" $'window\t0\tPelioranCtrlWindow\t0\t8,8,1290,710\t1\t1\t'
expect_pixel "$work/control.bmp" 205 300 'srgb(255,255,255)'
expect_pixel "$work/control.bmp" 206 300 'srgb(0,0,0)'
expect_pixel "$work/control.bmp" 207 300 'srgb(0,0,0)'
expect_pixel "$work/control.bmp" 208 300 'srgb(255,255,255)'
expect_pixel "$work/control.bmp" 4 4 'srgb(192,192,192)'

# Registered and created by its ProgID: the properties verb shows the property page.
ocx=$(winpath "$bin/Pelioran.ocx")
pel_regsvr32 "$arch" /s "$ocx" || { echo "FAIL: control not registered"; failed=1; }
host "$work/pages.txt" --size 400x300 --verb -7 PELIORAN.PelioranCtrl.1
pel_regsvr32 "$arch" /s /u "$ocx"
expect_match "$work/pages.txt" $'msgbox\t.*Pelioran Control.*\tTODO: Place controls to manipulate properties of Pelioran Control on this dialog\\.'
expect "$work/pages.txt" $'verb\t-7\t0x00000000'

# The display's wineserver ends here, while the display still exists.
wineserver -w
exit $failed
