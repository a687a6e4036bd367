#!/usr/bin/env bash
# The demo: kvsim plays the demo Kelvanter server (tools/kvsim/demo.scenario) on a free
# loopback port; pelprobe runs the control's real start sequence against it and shows what the
# control reads and does; then Pelioran.ocx itself, registered in the project's private Wine
# prefix with the stand-in components, opens in pelhost against the same server. With a
# display the window stays until you close it; without one it runs under Xvfb and writes a
# screenshot (build/demo-shot.png). Each step is a function; the steps run in the order listed
# at the bottom.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build=build/demo
win_build=build/demo-win
shot=build/demo-shot.png
jobs=${PEL_JOBS:-2}
work=$(mktemp -d)
kvsim_pid=""
port=""

cleanup() {
  if [ -n "$kvsim_pid" ]; then
    kill "$kvsim_pid" 2>/dev/null || true
    wait "$kvsim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

say() { printf '\n== %s\n' "$*"; }

install_packages() {
  say "installing the Debian packages (quiet when they are there)"
  bash scripts/install-deps.sh
}

build_native() {
  say "building kvsim and pelprobe natively ($build, Release)"
  if ! cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPEL_TESTS=OFF >"$work/configure.log" 2>&1; then
    cat "$work/configure.log"; return 1
  fi
  if ! cmake --build "$build" -j"$jobs" --target kvsim pelprobe >"$work/build.log" 2>&1; then
    grep -E 'error|Error' "$work/build.log" | head -40; return 1
  fi
}

start_kvsim() {
  say "starting kvsim with tools/kvsim/demo.scenario"
  "$build/tools/kvsim" --scenario tools/kvsim/demo.scenario --port-file "$work/kvsim.port" \
    >"$work/kvsim.log" 2>&1 &
  kvsim_pid=$!
  for _ in $(seq 50); do
    [ -s "$work/kvsim.port" ] && break
    sleep 0.1
  done
  if [ ! -s "$work/kvsim.port" ]; then
    echo "kvsim did not start:"; cat "$work/kvsim.log"; return 1
  fi
  port=$(cat "$work/kvsim.port")
  echo "kvsim serves the demo server on 127.0.0.1:$port (users demo/demo and admin/1234)"
}

# pelprobe server against the demo server with the given extra options. Its output is kept in
# $work/<name>, then shown with its exit status (0 pages read, 2 request failed, 3 status
# failure, 1 usage error).
probe() {
  local name=$1; shift
  local status=0
  "$build/tools/pelprobe" server --addr 127.0.0.1 --port "$port" "$@" >"$work/$name" || status=$?
  cat "$work/$name"
  echo "(pelprobe exit status $status)"
}

probe_readable() {
  say "pelprobe server, as a page loaded from http://127.0.0.1:$port/ with user demo would start the control"
  probe readable.txt --user demo --password demo
}

probe_json() {
  say "pelprobe server --json, picking module 1 (\"Loading Yard\") in the module list as a user would"
  probe module1.json --user demo --password demo --module 1 --json
}

probe_wrong_password() {
  say "pelprobe server with a wrong password: the server refuses the pages"
  local status=0
  "$build/tools/pelprobe" server --addr 127.0.0.1 --port "$port" --user demo --password wrong \
    --json >"$work/refused.json" || status=$?
  python3 - "$work/refused.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
for message in r["messages"]:
    print("message box:", message)
print("modules listed:", len(r["modules"]), "- module set up:", r["iSvrID"])
PY
  echo "(pelprobe exit status $status)"
}

build_windows() {
  say "building Pelioran.ocx, the stand-ins and pelhost with mingw-w64 ($win_build, x64)"
  if ! cmake -S . -B "$win_build" -DCMAKE_BUILD_TYPE=Release -DPEL_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >"$work/win-configure.log" 2>&1; then
    cat "$work/win-configure.log"; return 1
  fi
  if ! cmake --build "$win_build" -j"$jobs" --target Pelioran PelStandins pelhost \
      >"$work/win-build.log" 2>&1; then
    grep -E 'error|Error' "$work/win-build.log" | head -40; return 1
  fi
}

# The rest runs with a display: the caller's, or Xvfb's.
open_control() {
  if [ -z "${DISPLAY:-}" ]; then
    say "no display: opening the control under Xvfb for a screenshot"
    PEL_DEMO_HEADLESS=1 PEL_DEMO_PORT=$port PEL_DEMO_WORK=$work xvfb-run -a bash "$0" --in-display
  else
    PEL_DEMO_PORT=$port PEL_DEMO_WORK=$work bash "$0" --in-display
  fi
}

winpath() { local p=${1//\//\\}; echo "Z:$p"; }

in_display() {
  source scripts/wine-env.sh
  # The prefix's wineserver may have run without this display.
  wineserver -k 2>/dev/null || true
  local bin="$root/$win_build/bin" ocx
  ocx=$(winpath "$bin/Pelioran.ocx")
  say "registering Pelioran.ocx and the stand-in components in the private Wine prefix $WINEPREFIX"
  wine regsvr32 /s "$(winpath "$bin/PelStandins.dll")"
  wine regsvr32 /s "$ocx"
  local args=(--param strIpAddr=127.0.0.1 --param "iHttpPort=$PEL_DEMO_PORT"
              --param strUserID=demo --param strUserPWD=demo --size 1290x710)
  if [ -n "${PEL_DEMO_HEADLESS:-}" ]; then
    say "pelhost: the control against the demo server; All cameras, then a screenshot"
    wine "$bin/pelhost.exe" --test "${args[@]}" --wait 1500 --click 3008 --wait 1500 \
      --windows --shot "$(winpath "$PEL_DEMO_WORK/shot.bmp")" PELIORAN.PelioranCtrl.1 \
      >"$PEL_DEMO_WORK/pelhost.txt" 2>/dev/null || true
    grep -E '^(msgbox|error)' "$PEL_DEMO_WORK/pelhost.txt" || true
    echo "the control's window holds $(grep -c $'^window\t' "$PEL_DEMO_WORK/pelhost.txt") windows:" \
      "the pane with its buttons and lists, the viewer and the panel"
    /usr/bin/convert "$PEL_DEMO_WORK/shot.bmp" "$root/$shot" && echo "screenshot: $root/$shot"
  else
    say "pelhost: the control against the demo server (close the window to end the demo)"
    wine "$bin/pelhost.exe" "${args[@]}" PELIORAN.PelioranCtrl.1 || true
  fi
  wine regsvr32 /s /u "$ocx"
  wineserver -w
}

summary() {
  say "what the demo showed"
  python3 - "$work/module1.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
viewer = sum(1 for c in r["calls"] if c["component"] == "viewer")
panel = sum(1 for c in r["calls"] if c["component"] == "panel")
print(f"- The control read the server page: build date {r['iBuildDate']}, audio on UDP port "
      f"{r['iUdpPort']}, and listed {r['iModuleCount']} modules the user may view: "
      + ", ".join(f"{m['text']} ({m['data']})" for m in r["modules"]) + ".")
print(f"- It set up the first module, then module {r['iSvrID']} when it was picked in the list: "
      f"{r['iNumCam']} cameras, {'576' if r['iVideoFormat'] else '480'}-line video, "
      f"{r['iNumDo']} relay outputs, view rights 0x{r['dwViewRights']:X}, camera {r['iSelCam']} shown first.")
print(f"- The hosted viewer received {viewer} calls and the serial/PTZ panel {panel}, in the order shown;")
print(f"  the speed list holds " + ", ".join(repr(s['text']) for s in r["speedList"]) + ".")
print(f"- Message boxes: {len(r['messages'])}. A wrong password ends in the server's refusal "
      "(exit status 3), with the control's own messages and defaults.")
PY
}

if [ "${1:-}" = "--in-display" ]; then
  trap - EXIT
  in_display
  exit 0
fi

steps=(install_packages build_native start_kvsim probe_readable probe_json probe_wrong_password
       summary build_windows open_control)
for step in "${steps[@]}"; do
  "$step"
done
