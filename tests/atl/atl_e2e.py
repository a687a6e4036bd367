#!/usr/bin/env python3
"""wine.atl: the control in Wine's ATL (atlhost) against kvsim, once with the stand-in
components and once with the strict ones, three create/attach/teardown cycles each. Run by
atl.sh (display, prefix, the control's registration).

    atl_e2e.py BIN WORK ARCH KVSIM
"""
import os
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "wine"))
from kvsim_control import Kvsim  # noqa: E402
from wine_suite import check, finish, message_boxes, regsvr32, take_log, winpath  # noqa: E402

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"
VIEWER = "{775D096D-0F0F-45FA-8EE1-4C1FD194910B}"
PANEL = "{DBFD22D6-5229-407D-A407-E15D7FF35253}"
PANE_ID, VIEWER_ID, PANEL_ID, MODULE_LIST_ID, ALL_BUTTON = 59648, 206, 209, 3018, 3008
CYCLES = 3
SIZE, RESIZED = (1290, 720), (1000, 760)
# The leak check compares the warm cycle (2) with the last: windows must come back to the
# count before the first cycle, kernel handles and GDI objects must not grow at all.
HANDLE_TOLERANCE = 0
GDI_TOLERANCE = 0
FAMILIES = (("stand-ins", "PelStandins.dll"), ("strict", "PelStrict.dll"))


def run_atlhost(name, port):
    report = os.path.join(WORK, name + ".txt")
    command = ["wine", os.path.join(BIN, "atlhost.exe"), "--out", winpath(report),
               "--cycles", str(CYCLES), "--size", f"{SIZE[0]}x{SIZE[1]}",
               "--param", "strIpAddr=127.0.0.1", "--param", f"iHttpPort={port}",
               "--param", "strUserID=demo", "--param", "strUserPWD=demo",
               "--unload-check", CONTROL, "--unload-check", VIEWER, "--unload-check", PANEL,
               "--wait", "300", "--windows",
               "--click", str(ALL_BUTTON), "--wait", "300",
               # The viewer's second tile of the 352-wide grid: camera 2.
               "--click-at", "600,100", "--wait", "300",
               "--select", f"{MODULE_LIST_ID}:1", "--wait", "300", "--windows", "--get", "iSvrID",
               "--resize", f"{RESIZED[0]}x{RESIZED[1]}", "--wait", "100", "--windows",
               CONTROL]
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            timeout=120).returncode
    lines = open(report, encoding="utf-8").read().splitlines() if os.path.exists(report) else []
    check(status == 0 and lines[-1:] == ["done"], f"{name}: atlhost ran to the end (exit {status})")
    return lines


def split_cycles(lines):
    """The report's lines before the first cycle, and each cycle's lines."""
    head, cycles = [], []
    for line in lines:
        if line.startswith("cycle\t"):
            cycles.append([])
        (cycles[-1] if cycles else head).append(line)
    return head, cycles


def window_lists(lines):
    """Per --windows action: {id: (depth, x, y, w, h, visible)} of the control's tree."""
    lists = []
    for line in lines:
        if line == "windows":
            lists.append({})
        elif line.startswith("window\t") and lists:
            f = line.split("\t")
            x, y, w, h = map(int, f[4].split(","))
            lists[-1].setdefault(int(f[3]) if f[1] != "0" else "control",
                                 (int(f[1]), x, y, w, h, f[5] == "1"))
    return lists


def counts(lines):
    """{(cycle, 'before'|'after'): {'windows': n, 'handles': n, 'gdi': n}}."""
    found = {}
    for line in lines:
        f = line.split("\t")
        if f[0] == "counts":
            found[(int(f[1]), f[2])] = {f[i]: int(f[i + 1]) for i in range(3, len(f), 2)}
    return found


def read_log():
    return take_log(os.path.join(WORK, "components.log"))


def check_cycle(family, n, lines):
    tag = f"{family} cycle {n}"
    check("attach\t0x00000000" in lines, f"{tag}: AtlAxAttachControl attached the control")
    check("hosted\t1\t1" in lines, f"{tag}: ATL's window holds the control and its site")
    check(any(l.startswith("control-window\t") and l.split("\t")[2:] ==
              [f"0,0,{SIZE[0]},{SIZE[1]}", "child-of-host", "1"] for l in lines),
          f"{tag}: in-place active: the control's window fills ATL's window")
    lists = window_lists(lines)
    if not check(len(lists) == 3, f"{tag}: three window lists ({len(lists)})"):
        return
    started, switched, resized = lists
    check(started.get(PANE_ID) == (1, 10, 10, 180, 700, True),
          f"{tag}: the pane is child 0xE900 at (10,10) 180 x 700 ({started.get(PANE_ID)})")
    check(started.get(VIEWER_ID) == (1, 207, 10, 716, 544, True),
          f"{tag}: module 0: the viewer is child 206 at (207,10) 716 x 544 ({started.get(VIEWER_ID)})")
    check(started.get(PANEL_ID, (0,))[:5] == (2, 0, 24, 164, 394),
          f"{tag}: the PTZ panel is the pane's child 209 at (0,24) 164 x 394 ({started.get(PANEL_ID)})")
    check(started.get(MODULE_LIST_ID, (0,))[0] == 2, f"{tag}: the module list 3018 is in the pane")
    check(switched.get(VIEWER_ID) == (1, 207, 10, 716, 640, True),
          f"{tag}: module 1: the viewer is 716 x 640 ({switched.get(VIEWER_ID)})")
    check("get\tiSvrID\t1" in lines, f"{tag}: the module list chose module 1")
    check(resized.get("control", (0,))[3:5] == RESIZED,
          f"{tag}: ATL's new size reaches the control's window ({resized.get('control')})")
    check(any(l.startswith("click-at\t600,100\t206") for l in lines),
          f"{tag}: the click at (600,100) lands in the viewer")
    boxes = [l for l in lines if l.startswith("msgbox\t")]
    check(boxes == [], f"{tag}: no message box ({boxes})")
    check(not any(l.startswith("error\t") for l in lines),
          f"{tag}: no harness error ({[l for l in lines if l.startswith('error')]})")
    check("destroyed\thost-gone\tcontrol-gone" in lines,
          f"{tag}: ATL's window and the control's are gone after the teardown")
    unloads = [l.split("\t") for l in lines if l.startswith("unload\t")]
    check(len(unloads) == 3 and all(u[2] == "0x00000000" for u in unloads),
          f"{tag}: no object left alive in the control's and the components' DLLs ({unloads})")


def check_spy(family, lines):
    """What ATL asked of the control, and the control of ATL's site (first cycle)."""
    spy = [l.split("\t")[1:] for l in lines if l.startswith("spy\t")]
    with open(os.path.join(WORK, f"{family}-spy.txt"), "w") as out:
        out.write("\n".join("\t".join(s) for s in spy) + "\n")
    refused = [s for s in spy if s[0] == "control" and s[3] != "0x00000000"]
    check(spy != [] and refused == [],
          f"{family}: ATL got every interface and call it asked of the control ({refused})")
    calls = [s[2] for s in spy if s[0] == "control" and s[1] == "call"]
    check(calls[:1] == ["SetClientSite"] and "DoVerb -5" in calls and
          calls[-2:] == ["Close", "SetClientSite"],
          f"{family}: ATL's calls: site, in-place activation, close, site gone ({calls})")


def check_components(family, log):
    tag = f"{family}"
    refused = [f for f in log if len(f) > 3 and f[3] == "refused"]
    check(refused == [], f"{tag}: no call refused by a component ({refused[:3]})")
    selected = [i for i, f in enumerate(log) if f[0] == "viewer" and f[3] == "event" and
                f[1] == "3"]
    check(len(selected) == CYCLES and all(log[i][4].startswith("2,") for i in selected),
          f"{tag}: the click on the second tile fired event 3 for camera 2 in each cycle "
          f"({[log[i][4] for i in selected]})")
    aimed = 0
    for start, end in zip(selected, selected[1:] + [len(log)]):
        uart = [(f[2], f[3], f[4]) for f in log[start:end] if f[0] == "uart"]
        aimed += ("iChannel", "put", "1") in uart
    check(aimed == CYCLES, f"{tag}: after each event 3 the PTZ panel's iChannel is put 1 ({aimed})")
    widths = [f for f in log if f[0] == "viewer" and f[3] == "event" and f[1] == "7"]
    connects = [f for f in log if f[0] == "viewer" and f[2] == "strServerAddr" and f[3] == "put"
                and f[4]]
    check(len(widths) >= CYCLES and connects and
          log.index(connects[0]) < log.index(widths[0]),
          f"{tag}: event 7 (picture width) after the viewer's connect ({len(widths)} events)")


def check_counts(family, head, lines):
    probe = next((l.split("\t") for l in head if l.startswith("probe\t")), None)
    moved = probe is not None and all(int(probe[i]) >= 1 for i in (2, 4, 6))
    check(moved, f"{family}: a deliberate window, handle and GDI leak each moves its counter ({probe})")
    found = counts(lines)
    table = " ".join(f"c{c}:{found[(c, 'after')]['windows']}/{found[(c, 'after')]['handles']}/"
                     f"{found[(c, 'after')]['gdi']}" for c in range(1, CYCLES + 1)
                     if (c, "after") in found)
    print(f"counts {family} (windows/handles/gdi after each cycle): "
          f"start:{found.get((1, 'before'))} {table}")
    if not check(len(found) == 2 * CYCLES and all(v >= 0 for c in found.values()
                                                   for v in c.values()),
                 f"{family}: every count was taken"):
        return
    first, warm, last = found[(1, "before")], found[(2, "after")], found[(CYCLES, "after")]
    check(last["windows"] == first["windows"],
          f"{family}: no window left after the teardowns ({first['windows']} -> {last['windows']})")
    check(last["handles"] - warm["handles"] <= HANDLE_TOLERANCE,
          f"{family}: no kernel handle leaked ({warm['handles']} -> {last['handles']})")
    check(last["gdi"] - warm["gdi"] <= GDI_TOLERANCE,
          f"{family}: no GDI object leaked ({warm['gdi']} -> {last['gdi']})")
    left = [l for l in lines if l.startswith("left\t")]
    if left:
        print("left after the last cycle: " + "; ".join(left[:10]))


def run_family(kv, port, family, dll):
    if not check(os.path.exists(os.path.join(BIN, dll)), f"{family}: {dll} is built"):
        return
    if not check(regsvr32(ARCH, os.path.join(BIN, dll)), f"{family}: {dll} registered"):
        return
    read_log()
    before = len(kv.request_lines(port))
    lines = run_atlhost(family, port)
    log = read_log()
    open(os.path.join(WORK, f"{family}.log"), "w").write("\n".join("\t".join(f) for f in log))
    check("atl\tatl.dll\tcomplete\tAtlAxWin" in lines and "AtlAxWinInit\t1" in lines,
          f"{family}: Wine's atl.dll: AtlAxWinInit, AtlAxAttachControl, AtlAxGetControl, AtlAxGetHost")
    head, cycles = split_cycles(lines)
    check(len(cycles) == CYCLES, f"{family}: {CYCLES} cycles ({len(cycles)})")
    for n, cycle in enumerate(cycles, 1):
        check_cycle(family, n, cycle)
    check_spy(family, cycles[0] if cycles else [])
    check_components(family, log)
    check_counts(family, head, lines)
    requests = kv.request_lines(port)[before:]
    pages = [f"GET http://127.0.0.1:{port}/asp-get/kvsvrinf.asp HTTP/1.1",
             f"GET http://127.0.0.1:{port}/asp-get/kvmodinf.asp?KvModId=0 HTTP/1.1",
             f"GET http://127.0.0.1:{port}/asp-get/kvmodinf.asp?KvModId=1 HTTP/1.1"]
    check(requests == pages * CYCLES,
          f"{family}: each cycle read the server page, module 0, then module 1 ({requests})")


def unreachable_server():
    """A server that does not answer: the control's modal message boxes inside ATL's host are
    recorded and answered, and the control still starts and goes."""
    free = socket.socket()
    free.bind(("127.0.0.1", 0))
    closed_port = free.getsockname()[1]
    free.close()
    report = os.path.join(WORK, "unreachable.txt")
    status = subprocess.run(["wine", os.path.join(BIN, "atlhost.exe"), "--out", winpath(report),
                             "--cycles", "1", "--no-spy", "--param", "strIpAddr=127.0.0.1",
                             "--param", f"iHttpPort={closed_port}", "--wait", "200", "--windows",
                             CONTROL], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            timeout=60).returncode
    lines = open(report, encoding="utf-8").read().splitlines() if os.path.exists(report) else []
    boxes = [texts for _, texts in message_boxes(lines)]
    check(status == 0 and lines[-1:] == ["done"], f"unreachable: atlhost ran to the end ({status})")
    check(boxes[:1] == ["GetAspWp (/asp-get/kvsvrinf.asp) read failed."] and
          all(b.endswith(" read failed.") for b in boxes),
          f"unreachable: the page read failures came as message boxes and were answered ({boxes})")
    lists = window_lists(lines)
    check(len(lists) == 1 and lists[0].get(PANE_ID, (0,))[1:] == (10, 10, 180, 700, True),
          "unreachable: the pane is there all the same")
    check("destroyed\thost-gone\tcontrol-gone" in lines, "unreachable: torn down")


def main():
    kv = Kvsim(KVSIM, WORK)
    try:
        port = kv.load(os.path.join(ROOT, "tools", "kvsim", "demo.scenario"))
        for family, dll in FAMILIES:
            run_family(kv, port, family, dll)
    finally:
        kv.close()
        # Other suites expect the stand-ins registered.
        regsvr32(ARCH, os.path.join(BIN, "PelStandins.dll"))
    unreachable_server()
    return finish()


if __name__ == "__main__":
    sys.exit(main())
