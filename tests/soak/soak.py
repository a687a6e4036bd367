#!/usr/bin/env python3
"""soak.run: one control in Wine's ATL (soakwall.exe --soak) reloaded every 25 steps, against
kvsim, with the process's counts sampled every 100 steps between two pages. Each page goes
through the steps of a day at the desk (wallhost/SoakSteps.h): camera buttons, All, None, 2x,
1x, Sequence on and off, Pause and Play, PTZ on and off, the speed list, the module list,
three snapshots, the relay dialog with a click on each output, and the audio dialog connected
in UDP receive mode while the other steps run, then disconnected. The pages take turns at
three servers whose audio is codec mode 1, 2 and 9; each server's audio port echoes what the
control sends, so the connection plays it on pulseaudio's null sink.

Pass rule: every page starts and every step does what it should; the only message boxes are
the snapshots' "... is saved.", one per snapshot step, and each names a file that holds the
viewer's picture of that camera (the references come from the registered viewer itself,
soakwall --viewer-pictures); each speed chosen and each Sequence on reaches the viewer; each
relay click reaches the server; each audio connection logs in, sends its mode's packets, plays
on pulseaudio and logs out; from the warm-up sample (the second) to the last no count grows by
more than its bound; DllCanUnloadNow answers S_OK at the end and the DLL unloads.

PEL_SOAK_STEPS sets the steps (default 400, the short form; the long form in README.md).

    soak.py BIN WORK ARCH KVSIM
"""
import os
import re
import shutil
import subprocess
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soakpeers import (AUDIO_PACKET_BYTES, CONTROL, SAVED, Kvsim,  # noqa: E402
                       demo_with_audio, lost_snapshots, snapshot_folders, soak_steps,
                       viewer_pictures)
from wine_suite import check, failures, unescape, winpath  # noqa: E402

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
STEPS = int(os.environ.get("PEL_SOAK_STEPS", "400"))
RELOAD_EVERY = 25
MODES = (1, 2, 9)
# Growth allowed from the warm-up sample to the last: Wine's own noise (see README.md).
BOUNDS = {"windows": 0, "gdi": 4, "threads": 1, "handles": 16, "private": 4 << 20}
LOGIN, LOGOUT = 6, 3


class PulseWatch:
    """Counts the playback streams that pulseaudio's null sink gets (pactl subscribe: a new
    sink input per wave-out device opened) and how many of them were seen playing (not
    corked, looked up when a stream is made or changes)."""

    def __init__(self):
        runtime = os.environ.get("XDG_RUNTIME_DIR", "")
        self.env = {**os.environ, "HOME": os.path.join(os.path.dirname(runtime), "home")}
        self.new = set()
        self.playing = set()
        self.process = subprocess.Popen(["pactl", "subscribe"], stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, env=self.env)
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        for line in self.process.stdout:
            m = re.match(r"Event '(new|change)' on sink-input #(\d+)", line)
            if not m:
                continue
            if m.group(1) == "new":
                self.new.add(int(m.group(2)))
            listing = subprocess.run(["pactl", "list", "sink-inputs"], capture_output=True,
                                     text=True, env=self.env).stdout
            for block in listing.split("Sink Input #")[1:]:
                number = int(block.split()[0])
                if re.search(r"^\s*Corked: no$", block, re.M):
                    self.playing.add(number)

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.thread.join(timeout=10)


def check_snapshots(steps, pictures):
    snaps = [n for n, s in steps.items() if s["what"] == "snap"]
    other = [(n, s["what"], b) for n, s in steps.items() for b in s["boxes"]
             if s["what"] != "snap" or not b.endswith(SAVED)]
    check(other == [], f"no message box but the snapshots' ({other[:3]})")
    saved = [unescape(b[: -len(SAVED)]) for n in snaps for b in steps[n]["boxes"]
             if b.endswith(SAVED)]
    each = [n for n in snaps if sum(b.endswith(SAVED) for b in steps[n]["boxes"]) != 1]
    check(snaps != [] and each == [],
          f"each of the {len(snaps)} snapshots says once where it is saved ({each[:5]})")
    bad = lost_snapshots(saved, pictures)
    check(saved != [] and bad == [],
          f"every saved snapshot is a file with the viewer's picture of its camera "
          f"({len(saved)} saved, {len(set(saved))} files; {bad[:3]})")


def check_viewer(steps):
    log_path = os.path.join(WORK, "standins.log")
    log = [l.split("\t") for l in open(log_path, encoding="latin-1").read().splitlines()] \
        if os.path.exists(log_path) else []
    viewer_puts = [(f[2], f[4]) for f in log if len(f) > 4 and f[0] == "viewer" and
                   f[3] == "put" and f[2] in ("iFrameInterval", "bSequence")]
    chosen = [f[3] for s in steps.values() for f in s["lines"] if f[0] == "speed"]
    speeds = [v for n, v in viewer_puts if n == "iFrameInterval"]
    check(len(chosen) == len([s for s in steps.values() if s["what"] == "speed"]) and
          speeds == chosen,
          f"each speed chosen reaches the viewer ({len(chosen)} chosen, {speeds[:8]} "
          f"vs {chosen[:8]})")
    on = [s for s in steps.values() if s["what"] == "sequence-on"]
    started = [v for n, v in viewer_puts if n == "bSequence" and v == "TRUE"]
    check(on != [] and len(started) == len(on),
          f"each Sequence on starts the viewer's sequence ({len(started)} of {len(on)})")


def check_relays(kv, steps, ports):
    clicks = sum(int(f[2]) for s in steps.values() for f in s["lines"] if f[0] == "relay")
    visits = len([s for s in steps.values() if s["what"] == "relay"])
    sent = [l for p in ports for l in kv.request_lines(p) if "/cgi-bin/kvdoctr.cgi?" in l]
    check(visits > 0 and clicks >= 4 * visits and len(sent) == clicks,
          f"each relay click reaches the server ({len(sent)} requests, {clicks} clicks in "
          f"{visits} dialogs)")


def check_audio(kv, steps, audio_ports, pulse):
    audio = [(n, f[2], f[3] if len(f) > 3 else "") for n, s in steps.items()
             for f in s["lines"] if f[0] == "audio"]
    wrong = [a for a in audio if a[2] != {"connect": "Connected",
                                          "disconnect": "Disconnected"}[a[1]]]
    connects = [n for n, kind, _ in audio if kind == "connect"]
    check(connects != [] and wrong == [] and len(audio) == 2 * len(connects),
          f"each audio connection is Connected, then Disconnected ({len(connects)}; {wrong[:3]})")
    for k, mode in enumerate(MODES):
        sessions = len([n for n in connects if (n // RELOAD_EVERY) % len(MODES) == k])
        got = kv.datagrams(audio_ports[mode])
        logins = [d for d in got if len(d) == 68 and d[:2] == bytes([0x7E, LOGIN])]
        logouts = [d for d in got if len(d) == 68 and d[:2] == bytes([0x7E, LOGOUT])]
        packets = [d for d in got if len(d) != 68]
        sizes = sorted({len(p) for p in packets})
        check(sessions > 0 and len(logins) == sessions and len(logouts) == sessions and
              len(packets) >= sessions and sizes == [AUDIO_PACKET_BYTES[mode]],
              f"mode {mode}: {sessions} connections log in and out and send "
              f"{AUDIO_PACKET_BYTES[mode]}-byte packets, echoed back to be played "
              f"({len(logins)} logins, {len(logouts)} logouts, {len(packets)} packets {sizes})")
    check(len(pulse.new) >= len(connects) and len(pulse.playing) >= len(connects),
          f"each connection plays on pulseaudio's null sink ({len(pulse.new)} playback "
          f"streams, {len(pulse.playing)} seen playing, {len(connects)} connections)")


def check_counts(lines):
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


def main():
    os.makedirs(WORK, exist_ok=True)
    kv = Kvsim(KVSIM, WORK)
    pulse = None
    try:
        pictures = viewer_pictures(BIN, WORK)
        check(len(pictures) == 12 and all(p.startswith(b"\xff\xd8\xff") for p in pictures.values()),
              f"the viewer's pictures of six cameras at two tile heights ({len(pictures)})")
        servers = {mode: demo_with_audio(kv, mode) for mode in MODES}
        ports = [servers[mode][0] for mode in MODES]
        audio_ports = {mode: servers[mode][1] for mode in MODES}
        for folder in snapshot_folders(ports):
            shutil.rmtree(folder, ignore_errors=True)
        pulse = PulseWatch()
        report = os.path.join(WORK, "soak.txt")
        command = ["wine", os.path.join(BIN, "soakwall.exe"), "--out", winpath(report),
                   "--soak", str(STEPS), "--reload-every", str(RELOAD_EVERY),
                   "--sample-every", "100", "--timeout", "20000", "--unload-check",
                   "Pelioran.ocx", "--param", "strIpAddr=127.0.0.1", "--param",
                   "strUserID=root", "--param", "strUserPWD=kv", CONTROL] + [str(p) for p in ports]
        status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=max(280, STEPS)).returncode
        pulse.close()
        lines = open(report, encoding="latin-1").read().splitlines() \
            if os.path.exists(report) else []
        check(status == 0 and lines[-1:] == ["done"], f"soakwall --soak ran to the end (exit {status})")
        errors = [l for l in lines if l.startswith("error\t")]
        check(errors == [], f"every page started and every step did what it should ({errors[:3]})")
        summary = [l.split("\t") for l in lines if l.startswith("soak\t")]
        if summary:
            print(f"figure: {summary[0][1]} steps, {summary[0][2]} page loads, "
                  f"{int(summary[0][3]) / 1000:.1f} s", flush=True)
        steps = soak_steps(lines)
        boxes = [l for l in lines if l.startswith("msgbox\t")]
        check(len(boxes) == sum(len(s["boxes"]) for s in steps.values()),
              f"every message box came in a step ({len(boxes)})")
        check(len(steps) == STEPS, f"every step ran ({len(steps)} of {STEPS})")
        check_snapshots(steps, pictures)
        check_viewer(steps)
        check_relays(kv, steps, ports)
        check_audio(kv, steps, audio_ports, pulse)
        check_counts(lines)
        unload = [l.split("\t")[2] for l in lines if l.startswith("unload\t")]
        check(unload == ["0x00000000"], f"DllCanUnloadNow answers S_OK at the end ({unload})")
        loaded = [l.split("\t")[2] for l in lines if l.startswith("loaded\t")]
        check(loaded == ["0"], "the DLL unloads")
        if not failures:
            for folder in snapshot_folders(ports):
                shutil.rmtree(folder, ignore_errors=True)
    finally:
        if pulse and pulse.process.poll() is None:
            pulse.close()
        kv.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
