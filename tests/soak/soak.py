#!/usr/bin/env python3
"""soak.run: one control in Wine's ATL (soakwall.exe --soak) reloaded every 25 steps, a pane
command per step (camera buttons, All, None, 2x, 1x, PTZ on and off, the module list), against
kvsim, with the process's counts sampled every 100 steps between two pages. Pass rule: no
message box, every page starts, and from the warm-up sample (the second) to the last no count
grows by more than its bound; DllCanUnloadNow answers S_OK at the end and the DLL unloads.

PEL_SOAK_STEPS sets the steps (default 400, the short form; the long form in README.md).

    soak.py BIN WORK ARCH KVSIM
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soakpeers import CONTROL, Kvsim, check, demo_scenario, failures, winpath  # noqa: E402

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
STEPS = int(os.environ.get("PEL_SOAK_STEPS", "400"))
# Growth allowed from the warm-up sample to the last: Wine's own noise (see README.md).
BOUNDS = {"windows": 0, "gdi": 4, "threads": 1, "handles": 16, "private": 4 << 20}


def main():
    os.makedirs(WORK, exist_ok=True)
    kv = Kvsim(KVSIM, WORK)
    try:
        ports = [kv.load_text(demo_scenario()) for _ in range(2)]
        report = os.path.join(WORK, "soak.txt")
        command = ["wine", os.path.join(BIN, "soakwall.exe"), "--out", winpath(report),
                   "--soak", str(STEPS), "--reload-every", "25", "--sample-every", "100",
                   "--timeout", "20000", "--unload-check", "Pelioran.ocx",
                   "--param", "strIpAddr=127.0.0.1", "--param", "strUserID=root",
                   "--param", "strUserPWD=kv", CONTROL] + [str(p) for p in ports]
        status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=max(280, STEPS)).returncode
        lines = open(report, encoding="latin-1").read().splitlines() \
            if os.path.exists(report) else []
        check(status == 0 and lines[-1:] == ["done"], f"soakwall --soak ran to the end (exit {status})")
        errors = [l for l in lines if l.startswith("error\t")]
        check(errors == [], f"every page started and every step found its window ({errors[:3]})")
        boxes = [l for l in lines if l.startswith("msgbox\t")]
        check(boxes == [], f"no message box ({boxes[:3]})")
        summary = [l.split("\t") for l in lines if l.startswith("soak\t")]
        if summary:
            print(f"figure: {summary[0][1]} steps, {summary[0][2]} page loads, "
                  f"{int(summary[0][3]) / 1000:.1f} s", flush=True)
        samples = []
        for l in lines:
            if l.startswith("sample\t"):
                f = l.split("\t")
                samples.append((int(f[1]), {f[i]: int(f[i + 1]) for i in range(2, len(f) - 1, 2)}))
        if check(len(samples) >= 3, f"at least three samples ({len(samples)})"):
            warm, last = samples[1], samples[-1]
            print(f"figure: warm-up (step {warm[0]}): {warm[1]}", flush=True)
            print(f"figure: end (step {last[0]}): {last[1]}", flush=True)
            for name, bound in BOUNDS.items():
                grew = last[1][name] - warm[1][name]
                check(grew <= bound, f"{name} grew by {grew} from step {warm[0]} to {last[0]} "
                      f"(bound {bound})")
        unload = [l.split("\t")[2] for l in lines if l.startswith("unload\t")]
        check(unload == ["0x00000000"], f"DllCanUnloadNow answers S_OK at the end ({unload})")
        loaded = [l.split("\t")[2] for l in lines if l.startswith("loaded\t")]
        check(loaded == ["0"], "the DLL unloads")
    finally:
        kv.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
