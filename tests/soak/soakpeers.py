"""Peers of the soak folder's tests: kvsim through its control port, a silent audio server,
and pelhost runs. Shared by unload_bound.py and wall.py."""
import os
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "wine"))
from kvsim_control import Kvsim  # noqa: E402,F401

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"

failures = []


def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def winpath(path):
    return "Z:" + path.replace("/", "\\")


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
