#!/usr/bin/env bash
# wine.wincom: runs wincom_tests under Wine, then decodes the snapshots the viewer stand-in
# gave (kept in <work>/images) with ImageMagick and checks their size and colour.
#   wincom.sh <wine-run.sh> <bin folder> <work folder>
set -uo pipefail
wine_run=$1 bin=$2 work=$3
rm -rf "$work"
mkdir -p "$work/images"
# Under Wine, Z: is the Linux root.
export PEL_IMAGE_DIR="Z:${work//\//\\}\\images"
# Hosting needs windows: wine.display runs those cases.
"$wine_run" "$bin/wincom_tests.exe" --gtest_filter='-HostedControlTest.*' || exit 1

failed=0
# file, format, width, height, x, y, red, green, blue, tolerance
check() {
  local file=$work/images/$1 info
  if ! info=$(/usr/bin/convert "$file" -format "%m %w %h %[pixel:p{$5,$6}]" info: 2>&1); then
    echo "FAIL $1: does not decode: $info"; failed=1; return
  fi
  if [[ ! $info =~ ^([A-Z0-9]+)\ ([0-9]+)\ ([0-9]+)\ s?rgba?\(([0-9]+),([0-9]+),([0-9]+) ]]; then
    echo "FAIL $1: unexpected answer: $info"; failed=1; return
  fi
  local format=${BASH_REMATCH[1]} w=${BASH_REMATCH[2]} h=${BASH_REMATCH[3]}
  local r=${BASH_REMATCH[4]} g=${BASH_REMATCH[5]} b=${BASH_REMATCH[6]}
  if [[ $format != "$2"* || $w != "$3" || $h != "$4" ]]; then
    echo "FAIL $1: $format $w x $h, expected $2 $3 x $4"; failed=1; return
  fi
  local d
  for d in $((r - $7)) $((g - $8)) $((b - $9)); do
    if (( d < -${10} || d > ${10} )); then
      echo "FAIL $1: colour ($r,$g,$b), expected ($7,$8,$9)"; failed=1; return
    fi
  done
  echo "ok $1: $format $w x $h ($r,$g,$b)"
}
check viewer-cam2.jpg JPEG 352 288 100 100 60 160 60 3
check viewer-cam6-240.jpg JPEG 352 240 351 239 40 170 170 3
check viewer-cam3.bmp BMP 352 288 300 277 60 90 200 0
exit $failed
