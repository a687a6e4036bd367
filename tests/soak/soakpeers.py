"""Peers of the soak folder's tests: kvsim through its control port, a silent audio server,
and pelhost runs. Shared by unload_bound.py and wall.py."""
import glob
import os
import re
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "wine"))
from kvsim_control import Kvsim  # noqa: E402,F401
from wine_suite import linux_path, winpath  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"

def demo_scenario(udp_port=None):
    """The demo server with user root, whose rights include the audio dialog."""
    text = open(os.path.join(ROOT, "tools", "kvsim", "demo.scenario")).read()
    text = text.replace("auth demo:demo", "auth root:kv").replace("user demo:demo", "user root:kv")
    if udp_port is not None:
        assert "UDPPORT=32001" in text
        text = text.replace("UDPPORT=32001", f"UDPPORT={udp_port}")
    return text


def demo_params(port):
    return ["strIpAddr=127.0.0.1", f"iHttpPort={port}", "strUserID=root", "strUserPWD=kv"]


class SilentAudioServer:
    """An audio server that accepts the login and from then on answers nothing: it only
    receives, and notes when each datagram came."""

    def __init__(self):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.sock.bind(("127.0.0.1", 0))
        self.sock.settimeout(0.2)
        self.port = self.sock.getsockname()[1]
        self.received = []  # (time, bytes)
        self.lock = threading.Lock()
        self.stopping = False
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        while not self.stopping:
            try:
                data, sender = self.sock.recvfrom(65536)
            except socket.timeout:
                continue
            with self.lock:
                self.received.append((time.monotonic(), data))
            if len(data) == 68 and data[0] == 0x7E and data[1] == 6:
                self.sock.sendto(bytes([0x7E, 2, 1, 0]) + bytes(64), sender)

    def records(self, kind):
        with self.lock:
            return [(t, d) for t, d in self.received if len(d) == 68 and d[0] == 0x7E and
                    d[1] == kind]

    def packets(self):
        with self.lock:
            return [d for _, d in self.received if len(d) != 68]

    def close(self):
        self.stopping = True
        self.thread.join(timeout=5)
        self.sock.close()


def pelhost(bin_dir, work, name, args, params=(), timeout=240, env=None):
    """Runs pelhost in test mode; returns (exit status, report lines, end time)."""
    report = os.path.join(work, name + ".txt")
    if os.path.exists(report):
        os.remove(report)
    command = ["wine", os.path.join(bin_dir, "pelhost.exe"), "--test", "--out", winpath(report),
               "--dll", winpath(os.path.join(bin_dir, "Pelioran.ocx"))]
    for p in params:
        command += ["--param", p]
    command += list(args) + [CONTROL]
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            timeout=timeout, env={**os.environ, **(env or {})}).returncode
    ended = time.monotonic()
    lines = open(report, encoding="latin-1").read().splitlines() if os.path.exists(report) else []
    return status, lines, ended


# The audio packet each codec mode's capture sends: 60 header bytes and the coded block.
AUDIO_PACKET_BYTES = {1: 3132, 2: 1460, 9: 2172}


def demo_with_audio(kv, mode):
    """The demo server (user root) whose audio port echoes every packet the control sends
    back as records, so that a connection with UDP receive mode plays what it captured, and
    whose server page names codec mode `mode` (AUDIODEVICETYPE). The page names the audio
    port of a scenario loaded before it: returns (the page's port, that scenario's port, for
    kv.datagrams)."""
    audio = kv.load_text(demo_scenario())
    text = demo_scenario(kv.udp_ports[audio])
    assert "AUDIODEVICETYPE=1" in text
    return kv.load_text(text.replace("AUDIODEVICETYPE=1", f"AUDIODEVICETYPE={mode}")), audio


# ---- soakwall's soak report (wallhost/Soak.h), read by soak.py and faults.py

SAVED = " is saved."


def soak_steps(lines):
    """Per step number: its name ("what"), the message boxes' texts ("boxes"), its "error"
    lines ("errors": a page that did not start goes with the page's first step) and its
    "speed", "relay" and "audio" lines split at tabs ("lines"). What is reported after a
    page's close goes with the page's last step."""
    steps = {}
    current = None

    def entry(step):
        return steps.setdefault(step, {"what": "", "boxes": [], "errors": [], "lines": []})

    for line in lines:
        f = line.split("\t")
        if f[0] == "step":
            current = int(f[1])
            entry(current)["what"] = f[2]
        elif f[0] == "error" and len(f) > 2 and f[1] == "start":
            entry(int(f[2]))["errors"].append(line)
        elif current is None:
            continue
        elif f[0] == "msgbox":
            steps[current]["boxes"].append(f[2] if len(f) > 2 else "")
        elif f[0] == "error":
            steps[current]["errors"].append(line)
        elif f[0] in ("speed", "relay", "audio"):
            steps[current]["lines"].append(f)
    return steps


def snapshot_folders(ports):
    """The snapshot folders of the servers on these ports, wherever the prefix's user is."""
    pattern = os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", "*", "AppData",
                           "LocalLow", "Norvane Works", "Pelioran")
    return [os.path.join(base, f"127.0.0.1-{p}") for base in glob.glob(pattern) for p in ports]


def viewer_pictures(bin_dir, work):
    """The registered viewer's snapshot pictures (soakwall --viewer-pictures), by (camera,
    tile height) as texts: ("1", "0") .. ("6", "240")."""
    folder = os.path.join(work, "pictures")
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["wine", os.path.join(bin_dir, "soakwall.exe"), "--out",
                    winpath(os.path.join(work, "pictures.txt")), "--viewer-pictures",
                    winpath(folder)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=120)
    pictures = {}
    for path in glob.glob(os.path.join(folder, "cam*-*.jpg")):
        camera, height = os.path.basename(path)[3:-4].split("-")
        pictures[(camera, height)] = open(path, "rb").read()
    return pictures


def lost_snapshots(saved, pictures):
    """Of the paths that "... is saved." named, those that are not a file in a server's
    snapshot folder holding the viewer's picture of the camera its name gives (a single view,
    or a tile of a 480-line module), as (path, bytes found or None)."""
    name = re.compile(r"C:\\users\\[^\\]+\\AppData\\LocalLow\\Norvane Works\\Pelioran\\"
                      r"127\.0\.0\.1-\d+\\\d{8}_\d{2}h\d{2}m\d{2}s_cam([1-6])\.jpg")
    lost = []
    for path in saved:
        m = name.fullmatch(path)
        data = open(linux_path(path), "rb").read() \
            if m and os.path.exists(linux_path(path)) else None
        if data is None or data not in (pictures.get((m.group(1), "0")),
                                        pictures.get((m.group(1), "240"))):
            lost.append((path, None if data is None else len(data)))
    return lost
