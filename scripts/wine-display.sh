# Sourced by the Wine tests that make windows, with the sourcing script's path and arguments:
#   source scripts/wine-display.sh "$0" "$@"
# Sets up the project's Wine prefix; without a display the script runs again under Xvfb (a
# wineserver started without a display must be gone before one with a display starts).
# Gives winpath (a Linux path as Wine's Z: path) and pel_regsvr32 ARCH ARGS... (the regsvr32
# of that architecture in the WoW64 prefix).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  wineserver -w
  exec xvfb-run -a bash "$@"
fi
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
pel_regsvr32() {
  local arch=$1; shift
  if [ "$arch" = i686 ]; then wine 'C:\windows\syswow64\regsvr32.exe' "$@"; else wine regsvr32 "$@"; fi
}
