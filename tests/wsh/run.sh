#!/usr/bin/env bash
# wine.wsh: Windows Script Host's console host (cscript) of the build's architecture runs each
# script against the registered control. Fails on a "FAIL:" line, and on a script that did not
# reach its last line, "done" (Wine's host does not report a script's run-time errors).
#   run.sh <bin folder> <x86_64|i686> <script>...
set -uo pipefail
bin=$1 arch=$2
shift 2
source "$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-env.sh"

# Started by name, the wine launcher runs the 32-bit programs of the WoW64 prefix; the 64-bit
# ones need the 64-bit loader.
if [ "$arch" = i686 ]; then
  run=(wine) sys='C:\windows\syswow64'
else
  run=("$(command -v wine64 || echo /usr/lib/wine/wine64)") sys='C:\windows\system32'
fi
ocx="Z:${bin//\//\\}\\Pelioran.ocx"
[ -f "$bin/Pelioran.ocx" ] || { echo "FAIL: no $bin/Pelioran.ocx"; exit 1; }
"${run[@]}" "$sys\\regsvr32.exe" /s "$ocx" || { echo "FAIL: control not registered"; exit 1; }

failed=0
for script in "$@"; do
  name=$(basename "$script")
  out=$(timeout 60 "${run[@]}" "$sys\\cscript.exe" //nologo "Z:${script//\//\\}" 2>&1 | tr -d '\r')
  echo "$out" | sed "s|^|$name: |"
  oks=$(grep -c '^ok:' <<<"$out")
  fails=$(grep -c '^FAIL:' <<<"$out")
  if [ "$(tail -n 1 <<<"$out")" != done ]; then
    echo "FAIL: $name stopped before its end"
    failed=1
  fi
  (( fails == 0 && oks > 0 )) || failed=1
  echo "$name ($arch): $oks ok, $fails failed"
done

"${run[@]}" "$sys\\regsvr32.exe" /s /u "$ocx"
exit $failed
