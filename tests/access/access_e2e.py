#!/usr/bin/env python3
"""wine.access: the pane for screen readers and keyboard users against kvsim's demo server: oleacc
and keys in Wine's ATL (no pre-translation), keys in pelhost (through TranslateAccelerator), the
pane at 144 DPI and in high contrast mode. Run
by tests/atl/atl.sh (access_e2e.py BIN WORK ARCH KVSIM); each section is a function in SECTIONS."""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "wine"))
from kvsim_control import Kvsim  # noqa: E402
from wine_suite import check, finish, regsvr32, take_log, unescape, winpath  # noqa: E402
from scale_contrast import scale_and_contrast  # noqa: E402

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
LOG = os.path.join(WORK, "components.log")
PANE, VIEWER, MODULES, PUSH, CHECK, COMBO, TEXT = 59648, 206, 3018, 0x2B, 0x2C, 0x2E, 0x29
CHECKED, UNAVAILABLE, FOCUSABLE, EXPANDED = 0x10, 0x1, 0x100000, 0x200
TAB, BACK, SPACE = "9", "9+shift", "32"
# What a screen reader hears of each pane control: child ID -> (name, role); 0 is the speed list.
EXPECTED = {3000: ("Camera Control", CHECK), 3001: ("Ptz Control", CHECK),
            **{3001 + n: (f"Cam{n} On/Off", CHECK) for n in range(1, 7)},
            3008: ("All", PUSH), 3009: ("None", PUSH), 3010: ("Sequence start/stop", CHECK),
            3011: ("Pause/Play", CHECK), 3012: ("Snap", PUSH), 3013: ("Original", PUSH),
            3014: ("Double", PUSH), 3015: ("Voice", PUSH), 3016: ("Relay ouput control", PUSH),
            3017: ("Module Selection", TEXT), 3019: ("Speed", TEXT),
            MODULES: ("Module Selection", COMBO), 0: ("Speed", COMBO)}


def run(name, program, args, port):
    """The report's lines split at tabs, its walks, the focus after each key, the stand-ins' log."""
    report = os.path.join(WORK, name + ".txt")
    take_log(LOG)
    command = ["wine", os.path.join(BIN, program), "--out", winpath(report), "--param",
               "strIpAddr=127.0.0.1", "--param", f"iHttpPort={port}", "--param", "strUserID=demo"]
    command += (["--cycles", "1", "--no-spy"] if program == "atlhost.exe" else
                ["--test", "--dll", winpath(os.path.join(BIN, "Pelioran.ocx"))])
    command += ["--param", "strUserPWD=demo", "--wait", "300"] + args
    status = subprocess.run(command + ["{FE4F5263-11D5-4724-95BA-A978983B6369}"], timeout=180,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    lines = open(report, encoding="utf-8").read().splitlines() if os.path.exists(report) else []
    check(status == 0 and lines[-1:] == ["done"] and not any(line.startswith(("error\t", "msgbox"))
                                                             for line in lines),
          f"{name}: {program} ran to the end, no error or message box ({status}, {report})")
    fields, walks = [line.split("\t") for line in lines], []
    for f in fields:
        if f[0] == "acc-walk":
            walks.append({})
        elif f[0] == "acc" and walks:  # {child ID: (name, role, state, default action)}
            walks[-1].setdefault(int(f[1]), (unescape(f[3]), int(f[4], 16), int(f[5], 16),
                                             unescape(f[6])))
    focus = [int(f[2]) if f[3] == "inside" else "out" for f in fields if f[0] == "key"]
    return fields, walks, focus, take_log(LOG)


def shown(log, camera):
    return [f[4] for f in log if f[0] == "viewer" and f[2] == f"bShowCam{camera}" and f[3] == "put"]


def screen_reader(port):
    """Names, roles, states before and after latches by the mouse and the default action."""
    fields, walks, _, log = run("msaa", "atlhost.exe", ["--acc", "--click", "3002", "--wait", "200",
                                                        "--acc", "--acc-do", "3003", "--wait",
                                                        "200", "--acc"], port)
    if not check(len(walks) == 3, f"msaa: three walks ({len(walks)})"):
        return
    before, clicked, done = walks
    wrong = [(i, before.get(i)) for i in EXPECTED if before.get(i, ())[:2] != EXPECTED[i]]
    check(wrong == [], f"msaa: names and roles ({wrong})")
    usable = [i for i, (_, role) in EXPECTED.items() if role != TEXT]
    check({before[i][2] & (FOCUSABLE | UNAVAILABLE) for i in usable} == {FOCUSABLE} and
          {before[i][3] for i in usable} == {"Press", "Open"} and before[MODULES][3] == "Open",
          "msaa: buttons and lists are focusable, available, pressed or opened by default")
    check(before[PANE][0] == "Operation pane" and before[VIEWER][0] == "Video",
          f"msaa: the pane and the viewer area are named ({before[PANE]}, {before[VIEWER]})")
    check(before[3002][2] & CHECKED and not clicked[3002][2] & CHECKED,  # shown at the start
          f"msaa: Cam1's click unchecks it ({before[3002][2]:#x} -> {clicked[3002][2]:#x})")
    check(["acc-do", "3003", "0x00000000"] in fields and done[3003][2] & CHECKED and
          shown(log, 2) == ["FALSE", "TRUE"], "msaa: Cam2's default action latches it")
    events = [f[1:] for f in fields if f[0] == "winevent"]
    check(all(e in events for e in (["state", "3002"], ["state", "3003"], ["focus", "3002"])),
          f"msaa: the latches and the focus raised WinEvents ({events[:8]})")


def atl_keys(port):
    """In Wine's ATL: Tab, Down, Left, Space, Shift+Tab, Alt+Down on a list, Escape, and out."""
    keys = [TAB, "40", "37", SPACE, BACK, BACK, BACK, "40+alt"]
    args = ["--click", "3002", "--wait", "200"] + [a for k in keys for a in ("--key", k)]
    _, walks, focus, log = run("atl-keys", "atlhost.exe", args + ["--acc", "--key", "27"] +
                               ["--key", BACK] * 3, port)
    check(focus == [3003, 3005, 3004, 3004, 3003, 3002] + [MODULES] * 3 + [3001, 3000, "out"],
          f"atl keys: the focus follows the keys and leaves past CAM ({focus})")
    check(shown(log, 3) == ["FALSE", "TRUE"], f"atl keys: Space on Cam3 shows it ({shown(log, 3)})")
    check(walks and walks[0][MODULES][2] & EXPANDED, "atl keys: Alt+Down opens the module list")


def pelhost_keys(port):
    """In pelhost: the focus mark after a key; Space, Enter press; Tabs to DO, the last, and out."""
    shots = [os.path.join(WORK, f"{n}.bmp") for n in ("clicked", "tabbed")]
    keys = [a for k in (SPACE, "13", "39") for a in ("--wait", "200", "--press", k)]
    args = ["--click", "3002", "--wait", "200", "--shot", winpath(shots[0]), "--press", TAB,
            "--shot", winpath(shots[1])] + keys + ["--press", TAB] * 15
    _, _, focus, log = run("pelhost-keys", "pelhost.exe", args, port)
    check(len({open(shot, "rb").read() for shot in shots}) == 2,
          "pelhost keys: the focus mark on Cam2, the only change a Tab makes in the picture")
    check(focus[:4] == [3003] * 4 and focus[-2:] == [3016, "out"],
          f"pelhost keys: Tab, Space, Enter, Right, fourteen Tabs to the last and out ({focus})")
    check(shown(log, 2) == ["FALSE", "TRUE", "FALSE"],
          f"pelhost keys: Space shows camera 2, Enter hides it ({shown(log, 2)})")


def scale_contrast(port):
    """At 144 DPI and in high contrast mode (tests/wine/scale_contrast.py)."""
    scale_and_contrast(BIN, WORK, ARCH, port)


SECTIONS = [screen_reader, atl_keys, pelhost_keys, scale_contrast]
KV = Kvsim(KVSIM, WORK)
try:
    PORT = KV.load(os.path.join(HERE, "..", "..", "tools", "kvsim", "demo.scenario"))
    check(regsvr32(ARCH, os.path.join(BIN, "PelStandins.dll")), "the stand-ins registered")
    for section in SECTIONS:
        section(PORT)
finally:
    KV.close()
sys.exit(finish())
