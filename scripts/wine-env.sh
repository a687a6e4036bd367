# Sourced: the project's private Wine prefix (never the user's own), made on first use.
# WoW64: wine32 is installed before the prefix is made, so x86 and x64 programs both run.
_pel_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${PEL_WINEPREFIX:-$_pel_root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the prefix has no network to fetch them from anyway.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  ( flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wine wineboot -i >/dev/null 2>&1 || true
      # Unmanaged windows: hidden and destroyed top-level windows otherwise cost ~2 s each.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      wineserver -w
    fi
  ) 9>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
fi
