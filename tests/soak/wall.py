#!/usr/bin/env python3
"""soak.wall: 16 controls in one container (Wine's ATL, soakwall.exe), each against its own
kvsim server, all started and showing their viewers. Prints the time for all 16 to start and
what one control costs (private bytes, GDI objects, USER objects, threads, kernel handles):
the warm round's wall minus the warm round's empty frame, divided by 16.

    wall.py BIN WORK ARCH KVSIM
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soakpeers import CONTROL, Kvsim, demo_scenario  # noqa: E402
from wine_suite import check, failures, winpath  # noqa: E402

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
CONTROLS = int(os.environ.get("PEL_SOAK_WALL", "16"))
START_BOUND_MS = 60000
FIELDS = ("windows", "handles", "gdi", "private", "threads")


def counts(line):
    f = line.split("\t")
    return {f[i]: int(f[i + 1]) for i in range(3, len(f) - 1, 2)}


def main():
    os.makedirs(WORK, exist_ok=True)
    kv = Kvsim(KVSIM, WORK)
    try:
        ports = [kv.load_text(demo_scenario()) for _ in range(CONTROLS)]
        report = os.path.join(WORK, "wall.txt")
        command = ["wine", os.path.join(BIN, "soakwall.exe"), "--out", winpath(report),
                   "--rounds", "2", "--timeout", str(START_BOUND_MS),
                   "--unload-check", "Pelioran.ocx",
                   "--param", "strIpAddr=127.0.0.1", "--param", "strUserID=root",
                   "--param", "strUserPWD=kv", CONTROL] + [str(p) for p in ports]
        status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=280).returncode
        lines = open(report, encoding="latin-1").read().splitlines() \
            if os.path.exists(report) else []
        check(status == 0 and lines[-1:] == ["done"], f"soakwall ran to the end (exit {status})")
        probe = [l.split("\t") for l in lines if l.startswith("probe\t")]
        if check(len(probe) == 1, "the counters were probed"):
            moved = {probe[0][i]: int(probe[0][i + 1]) for i in range(1, len(probe[0]) - 1, 2)}
            check(all(moved[k] > 0 for k in FIELDS) and moved["private"] >= 8 << 20,
                  f"a deliberate leak of each kind moves its counter ({moved})")
        boxes = [l for l in lines if l.startswith("msgbox\t")]
        check(boxes == [], f"no message box ({boxes[:3]})")
        for r in ("1", "2"):
            started = [l.split("\t") for l in lines if l.startswith(f"started\t{r}\t")]
            if check(len(started) == 1 and int(started[0][2]) == CONTROLS,
                     f"round {r}: all {CONTROLS} controls show their viewer ({started})"):
                print(f"figure: round {r}: {CONTROLS} controls started in {started[0][3]} ms",
                      flush=True)
            unload = [l.split("\t")[2] for l in lines if l.startswith(f"unload\t{r}\t")]
            check(unload == ["0x00000000"],
                  f"round {r}: DllCanUnloadNow answers S_OK once the page is closed ({unload})")
            loaded = [l.split("\t")[2] for l in lines if l.startswith(f"loaded\t{r}\t")]
            check(loaded == ["0"], f"round {r}: the DLL unloads (and round 2 loads it again)")
        for port in ports:
            got = kv.command(f"REQUESTS {port}\n").decode("latin-1")
            if not check("kvsvrinf.asp" in got and "kvmodinf.asp?KvModId=0" in got,
                         f"server {port} was asked for its server and module pages"):
                break
        rows = {(l.split("\t")[1], l.split("\t")[2]): counts(l)
                for l in lines if l.startswith("counts\t")}
        for key, value in sorted(rows.items()):
            print(f"figure: counts round {key[0]} {key[1]}: {value}", flush=True)
        if ("2", "wall") in rows and ("2", "empty") in rows:
            wall, empty = rows[("2", "wall")], rows[("2", "empty")]
            per = {k: (wall[k] - empty[k]) / CONTROLS for k in FIELDS}
            print("figure: per control: private %.0f KiB, gdi %.1f, user (windows) %.1f, "
                  "threads %.2f, handles %.1f" % (per["private"] / 1024, per["gdi"],
                                                   per["windows"], per["threads"],
                                                   per["handles"]), flush=True)
            check(all(per[k] > 0 for k in ("private", "gdi", "windows")),
                  "each control's own resources show in the counts")
            # The skins, background and fonts are the process's, shared by every control.
            check(per["gdi"] <= 40 and per["private"] <= 2 << 20,
                  "a control after the first costs at most 40 GDI objects and 2 MiB")
    finally:
        kv.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
