#!/usr/bin/env python3
"""wine.access: the pane as screen readers and keyboard users meet it, against kvsim's demo
server with the stand-ins: oleacc and keys in Wine's ATL (atlhost: keys posted to the focused
window, as ATL does not pre-translate them) and keys in pelhost (through the control's
TranslateAccelerator). Run by access.sh.   access_e2e.py BIN WORK ARCH KVSIM
Each section is a function of the demo server's port, listed in SECTIONS."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "wine"))
from kvsim_control import Kvsim  # noqa: E402
from wine_suite import check, finish, regsvr32, take_log, unescape, winpath  # noqa: E402

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PANE, VIEWER, MODULES, SPEEDS = 59648, 206, 3018, 0
PUSH, CHECK, COMBO, TEXT = 0x2B, 0x2C, 0x2E, 0x29
CHECKED, UNAVAILABLE, FOCUSABLE, EXPANDED = 0x10, 0x1, 0x100000, 0x200
TAB, BACK, SPACE, ENTER, LEFT, RIGHT, DOWN = "9", "9+shift", "32", "13", "37", "39", "40"
# What a screen reader hears of each pane control: child ID -> (name, role).
EXPECTED = {3000: ("Camera Control", CHECK), 3001: ("Ptz Control", CHECK),
            **{3001 + n: (f"Cam{n} On/Off", CHECK) for n in range(1, 7)},
            3008: ("All", PUSH), 3009: ("None", PUSH), 3010: ("Sequence start/stop", CHECK),
            3011: ("Pause/Play", CHECK), 3012: ("Snap", PUSH), 3013: ("Original", PUSH),
            3014: ("Double", PUSH), 3015: ("Voice", PUSH), 3016: ("Relay ouput control", PUSH),
            3017: ("Module Selection", TEXT), 3019: ("Speed", TEXT),
            MODULES: ("Module Selection", COMBO), SPEEDS: ("Speed", COMBO)}


def run(name, program, args, port):
    """The host's report lines, split at tabs, and the stand-ins' log of the run."""
    report = os.path.join(WORK, name + ".txt")
    take_log(os.path.join(WORK, "components.log"))
    params = ["strIpAddr=127.0.0.1", f"iHttpPort={port}", "strUserID=demo", "strUserPWD=demo"]
    command = ["wine", os.path.join(BIN, program), "--out", winpath(report)]
    command += (["--cycles", "1", "--no-spy"] if program == "atlhost.exe" else
                ["--test", "--dll", winpath(os.path.join(BIN, "Pelioran.ocx"))])
    command += [a for p in params for a in ("--param", p)] + ["--wait", "300"] + args
    status = subprocess.run(command + ["{FE4F5263-11D5-4724-95BA-A978983B6369}"], timeout=180,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    lines = open(report, encoding="utf-8").read().splitlines() if os.path.exists(report) else []
    errors = [line for line in lines if line.startswith(("error\t", "msgbox\t"))]
    check(status == 0 and lines[-1:] == ["done"] and errors == [],
          f"{name}: {program} ran to the end without errors or message boxes ({status}, {errors})")
    return [line.split("\t") for line in lines], take_log(os.path.join(WORK, "components.log"))


def walks(fields):
    """Per --acc: {child ID: (name, role, state, default action)}."""
    found = []
    for f in fields:
        if f[0] == "acc-walk":
            found.append({})
        elif f[0] == "acc" and found:
            found[-1].setdefault(int(f[1]), (unescape(f[3]), int(f[4], 16), int(f[5], 16),
                                             unescape(f[6])))
    return found


def focus(fields):
    return [int(f[1]) if f[3] == "inside" else "outside" for f in fields if f[0] == "focus"]


def shown(log, camera):
    return [f[4] for f in log if f[0] == "viewer" and f[2] == f"bShowCam{camera}" and f[3] == "put"]


def screen_reader(port):
    """Through AccessibleObjectFromWindow: names, roles, states, before and after a latch by
    the mouse and one by the default action, and the WinEvents of the latches."""
    fields, log = run("msaa", "atlhost.exe", ["--acc", "--click", "3002", "--wait", "200",
                                              "--acc", "--acc-do", "3003", "--wait", "200",
                                              "--acc"], port)
    if not check(len(walks(fields)) == 3, f"msaa: three walks ({len(walks(fields))})"):
        return
    before, clicked, done = walks(fields)
    heard = {i: before.get(i, ("", 0))[:2] for i in EXPECTED}
    check(heard == EXPECTED, f"msaa: names and roles ({[(i, heard[i]) for i in EXPECTED if heard[i] != EXPECTED[i]]})")
    usable = [i for i, (_, role) in EXPECTED.items() if role != TEXT]
    check([before[i][2] & (FOCUSABLE | UNAVAILABLE) for i in usable] == [FOCUSABLE] * len(usable),
          "msaa: buttons and lists are focusable and available")
    check({before[i][3] for i in usable} == {"Press", "Open"} and before[MODULES][3] == "Open",
          "msaa: the default actions are Press and, for the lists, Open")
    check(before.get(PANE, [""])[0] == "Operation pane" and before.get(VIEWER, [""])[0] == "Video",
          f"msaa: the pane and the viewer area are named ({before.get(PANE)}, {before.get(VIEWER)})")
    # The demo starts with camera 1 shown: its click unlatches it.
    check(before[3002][2] & CHECKED and not clicked[3002][2] & CHECKED,
          f"msaa: Cam1's click unchecks it ({before[3002][2]:#x} -> {clicked[3002][2]:#x})")
    check(["acc-do", "3003", "0x00000000"] in fields and done[3003][2] & CHECKED and
          shown(log, 2) == ["FALSE", "TRUE"], f"msaa: Cam2's default action latches it ({shown(log, 2)})")
    events = [f[1:] for f in fields if f[0] == "winevent"]
    check(["state", "3002"] in events and ["state", "3003"] in events and ["focus", "3002"] in events,
          f"msaa: the latches and the focus raised WinEvents ({events[:8]})")


def atl_keys(port):
    """In Wine's ATL: Tab, the arrows, Space, Shift+Tab, Alt+Down on a list, and out."""
    args = ["--click", "3002", "--wait", "200", "--focus"]
    for key in [TAB, DOWN, LEFT, SPACE, BACK, BACK, BACK, "40+alt"]:
        args += ["--key", key, "--focus"]
    # Escape closes the list; past PTZ and CAM, the focus leaves the control.
    fields, log = run("atl-keys", "atlhost.exe", args + ["--acc", "--key", "27"] +
                      ["--key", BACK] * 3 + ["--focus"], port)
    check(focus(fields) == [3002, 3003, 3005, 3004, 3004, 3003, 3002, MODULES, MODULES, "outside"],
          f"atl keys: Tab, Down, Left, Space, Shift+Tab, Alt+Down move the focus ({focus(fields)})")
    check(shown(log, 3) == ["FALSE", "TRUE"], f"atl keys: Space on Cam3 shows camera 3 ({shown(log, 3)})")
    check(walks(fields) and walks(fields)[0][MODULES][2] & EXPANDED, "atl keys: Alt+Down opens the list")


def pelhost_keys(port):
    """In pelhost, through TranslateAccelerator: Space and Enter press, the last control hands
    the focus back to the container."""
    args = ["--click", "3002", "--wait", "200", "--focus", "--press", TAB, "--focus", "--press",
            SPACE, "--wait", "200", "--press", ENTER, "--wait", "200", "--press", RIGHT, "--focus"]
    # Fourteen stops from Cam2 to the relay output button, the last, and one past it.
    fields, log = run("pelhost-keys", "pelhost.exe", args + ["--press", TAB] * 14 + [
        "--focus", "--press", TAB, "--focus"], port)
    check(focus(fields) == [3002, 3003, 3003, 3016, "outside"],
          f"pelhost keys: Tab moves on, and past the last control out ({focus(fields)})")
    check(shown(log, 2) == ["FALSE", "TRUE", "FALSE"],
          f"pelhost keys: Space shows camera 2, Enter hides it ({shown(log, 2)})")


SECTIONS = [screen_reader, atl_keys, pelhost_keys]
KV = Kvsim(KVSIM, WORK)
try:
    PORT = KV.load(os.path.join(ROOT, "tools", "kvsim", "demo.scenario"))
    check(regsvr32(ARCH, os.path.join(BIN, "PelStandins.dll")), "the stand-ins registered")
    for section in SECTIONS:
        section(PORT)
finally:
    KV.close()
sys.exit(finish())
