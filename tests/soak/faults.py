#!/usr/bin/env python3
"""soak.faults: the soak (soakwall.exe --soak, one page of 25 steps after another against one
server) while kvsim breaks that server and mends it, each fault timed to the report's "step"
lines so that it meets a page's start:

  page 0      the audio server goes silent mid-connection (AUDIO silent) and comes back
  pages 2..10 one HTTP fault each, set at the end of the page before (once its module page
              was read) and cleared once the faulted page has started: a stalled page (6 s,
              over the control's 5 s wait), a refused connection, a connection closed
              mid-page, a garbage page, and a restart of the server (HTTP and UDP, down 4 s)
  the others  clean pages, each right after a fault

Pass rule: soakwall runs to the end; a faulted page gives its fault's own messages for the
server page and the module page (the closed connection, whose first bytes the control keeps,
none), and otherwise only the messages of a page that knows no module (Unknown voice device,
No Permission) and the snapshots' "... is saved."; it starts and shows its viewer, and only
the steps that need a module fail; the server page was asked for while the fault stood (none
reached a refusing or restarting server); every other page starts and shows its viewer, has
no failed step and no message box but "... is saved.", and its audio dialog connects; the
silent audio server got the control's packets while it answered nothing, and the next page
logs in again; every "... is saved." names a file with the viewer's picture of that camera.
The message counts per fault and the pages' times are printed as "figure:" lines.

    faults.py BIN WORK ARCH KVSIM
"""
import collections
import os
import shutil
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soakpeers import (CONTROL, SAVED, Kvsim, demo_with_audio, lost_snapshots,  # noqa: E402
                       snapshot_folders, soak_steps, viewer_pictures)
from wine_suite import check, failures, unescape, winpath  # noqa: E402

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
# A page reloads after the first 16 steps of soakwall's cycle (audio connect, cameras,
# snapshots, 2x, 1x, Sequence, Pause, speed, module), before the relay dialog and the audio
# disconnect: a page without a module cannot open those dialogs, and soakwall waits 10 s for
# each, which would double the run. Pages close with the audio dialog connected.
PAGE = 16
MODE = 2
SERVER_PAGE = "/asp-get/kvsvrinf.asp"
NO_MODULE_PAGE = "/asp-get/kvmodinf.asp?KvModId=-1"
LOGIN = 6


def read_failed(path):
    return f"GetAspWp ({path}) read failed."


def http_error(code, path):
    return f"HTTP/1.1 {code} Error ({path})"


# Each HTTP fault: the kvsim command that sets it, and the messages of the page start it meets
# (the server page, then the module page of the empty module list, -1).
READ_FAILED = (read_failed(SERVER_PAGE), read_failed(NO_MODULE_PAGE))
HTTP_FAULTS = [
    ("stalled page", "stall 6000", READ_FAILED),
    ("refused connection", "refuse", READ_FAILED),
    # Under Wine a reset after the first bytes reads as an orderly close, as this cut is: the
    # control keeps the page's first 200 bytes, which end before the access words and the
    # modules, so the page starts with no module and no rights, without a message of its own.
    ("connection closed mid-page", "cut 200", ()),
    ("garbage page", "garbage", (http_error(0, SERVER_PAGE), http_error(0, NO_MODULE_PAGE))),
    ("server restart", None, READ_FAILED),
]
RESTART_DOWN_MS = 4000
# A page whose server page could not be read knows no module: no rights, no audio device.
# (The Voice button of a server page without a device type, or of a device type without
# audio rights, 2x and 1x without view rights, Snap of a module without view rights.)
NO_MODULE = {"Unknown voice device", "No Permission"}
# The steps such a page cannot do: no audio dialog opens, the speed list is empty.
NO_MODULE_STEPS = {"audio-connect", "speed"}
FIRST_FAULT_PAGE = 2
PAGES = FIRST_FAULT_PAGE + 2 * len(HTTP_FAULTS)
STEPS = PAGE * PAGES


class ReportTail:
    """The report as soakwall writes it (a line at a time, flushed)."""

    def __init__(self, path):
        self.path = path
        self.lines = []
        self.seen = {}  # step -> when its line was first read
        self.partial = ""
        self.offset = 0

    def refresh(self):
        if not os.path.exists(self.path):
            return
        with open(self.path, encoding="latin-1") as f:
            f.seek(self.offset)
            data = f.read()
            self.offset = f.tell()
        parts = (self.partial + data.replace("\r", "")).split("\n")
        self.partial = parts.pop()
        self.lines.extend(parts)
        now = time.monotonic()
        for line in parts:
            if line.startswith("step\t"):
                self.seen.setdefault(int(line.split("\t")[1]), now)

    def last_step(self):
        for line in reversed(self.lines):
            if line.startswith("step\t"):
                return int(line.split("\t")[1])
        return -1


class Injector(threading.Thread):
    """Puts the faults on the servers as the soak reaches the steps they are meant for."""

    def __init__(self, kv, page_port, audio_port, report, process):
        super().__init__(daemon=True)
        self.kv, self.page_port, self.audio_port = kv, page_port, audio_port
        self.report, self.process = report, process
        self.log = []  # (what, page or None, facts)
        self.problem = None

    def command(self, text):
        answer = self.kv.command(text).decode().strip()
        if answer != "OK":
            raise RuntimeError(f"kvsim answered {answer!r} to {text.strip()!r}")

    def wait_step(self, step, timeout=120):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.report.refresh()
            if self.report.last_step() >= step:
                return True
            if self.process.poll() is not None:
                return False
            time.sleep(0.005)
        return False

    def packets(self):
        return len([d for d in self.kv.datagrams(self.audio_port) if len(d) != 68])

    def run(self):
        try:
            self.audio_silent()
            for k, fault in enumerate(HTTP_FAULTS):
                self.http_fault(FIRST_FAULT_PAGE + 2 * k, *fault)
        except Exception as e:  # reported by the main thread
            self.problem = repr(e)
        # The rest of the run, for the pages' times.
        self.wait_step(STEPS, timeout=300)

    def audio_silent(self):
        # The audio dialog connects at a page's step 0; silent from step 3 until the control
        # has sent a few packets into the silence, back before the page closes.
        if not self.wait_step(3):
            raise RuntimeError("the soak never reached step 3")
        before = self.packets()
        self.command(f"AUDIO {self.audio_port} silent\n")
        silent_from = self.report.last_step()
        deadline = time.monotonic() + 10
        while (self.packets() - before < 3 and self.report.last_step() < PAGE - 5 and
               time.monotonic() < deadline):
            time.sleep(0.05)
            self.report.refresh()
        during = self.packets() - before
        self.command(f"AUDIO {self.audio_port} normal\n")
        self.log.append(("audio server silent", 0, {"from": silent_from,
                                                    "to": self.report.last_step(),
                                                    "packets": during}))

    def http_fault(self, page, name, fault, _messages):
        # The page before ends with a module chosen from the list, which reads that module's
        # page: the fault comes once that read was answered, and stands when the page closes
        # and the next one starts. The log is cleared two steps before (Play and the speed
        # list read nothing).
        if not self.wait_step(page * PAGE - 3):
            raise RuntimeError(f"the soak never reached page {page}")
        self.command(f"CLEAR {self.page_port}\n")
        self.wait_step(page * PAGE - 1)
        last = [l for l in self.report.lines if l.startswith(f"step\t{page * PAGE - 1}\t")]
        if last != [f"step\t{page * PAGE - 1}\tmodule"]:
            raise RuntimeError(f"a page's last step is not the module list ({last})")
        deadline = time.monotonic() + 10
        while not any("/asp-get/kvmodinf.asp" in r for r in self.kv.request_lines(self.page_port)):
            if time.monotonic() > deadline:
                raise RuntimeError(f"no module page was read at the end of page {page - 1}")
            time.sleep(0.005)
        time.sleep(0.02)
        self.command(f"CLEAR {self.page_port}\n")
        restart = None
        if fault is None:
            restart = threading.Thread(target=self.restart)
            restart.start()
        else:
            self.command(f"FAULT {self.page_port} {fault}\n")
        # Step 0 of the faulted page has run (its messages are in the report) once step 1
        # begins.
        reached = self.wait_step(page * PAGE + 1)
        if restart:
            restart.join()
        else:
            self.command(f"FAULT {self.page_port} none\n")
        asked = self.kv.request_lines(self.page_port)
        self.log.append((name, page, {"reached": reached,
                                      "asked": len([r for r in asked if SERVER_PAGE in r]),
                                      "no module": len([r for r in asked
                                                        if NO_MODULE_PAGE in r])}))

    def restart(self):
        # The page's server and its audio server go down together.
        threads = [threading.Thread(target=self.command,
                                    args=(f"RESTART {port} down {RESTART_DOWN_MS}\n",))
                   for port in (self.page_port, self.audio_port)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()


def page_boxes(steps, page):
    return [b for n in range(page * PAGE, (page + 1) * PAGE) if n in steps
            for b in steps[n]["boxes"]]


def page_errors(steps, page):
    return [e for n in range(page * PAGE, (page + 1) * PAGE) if n in steps
            for e in steps[n]["errors"]]


def audio_connect(steps, page):
    return [f[3] if len(f) > 3 else "" for f in steps.get(page * PAGE, {}).get("lines", [])
            if f[0] == "audio" and f[2] == "connect"]


def check_pages(steps, injected):
    fault_pages = {page: (name, facts) for name, page, facts in injected if page}
    by_name = {f[0]: f for f in HTTP_FAULTS}
    for page in range(PAGES):
        boxes = page_boxes(steps, page)
        if page in fault_pages:
            name, facts = fault_pages[page]
            direct = by_name[name][2]
            counts = collections.Counter(b for b in boxes if not b.endswith(SAVED))
            print(f"figure: {name} (page {page}): " +
                  "; ".join(f"{n} x {text}" for text, n in sorted(counts.items())), flush=True)
            start_boxes = steps.get(page * PAGE, {}).get("boxes", [])
            if direct:
                check(all(start_boxes.count(m) >= 1 for m in direct),
                      f"{name}: the page's start gives {' and '.join(direct)} ({start_boxes})")
            else:
                check(facts["no module"] >= 1 and "No Permission" in boxes,
                      f"{name}: the page starts with what it read, no module and no rights "
                      f"(the module page -1 asked for {facts['no module']} times; boxes "
                      f"{sorted(set(boxes))})")
            other = [b for b in boxes
                     if b not in direct and b not in NO_MODULE and not b.endswith(SAVED)]
            check(other == [], f"{name}: no message box but the fault's and those of a page "
                  f"without a module ({other[:3]})")
            if "refused" in name or "restart" in name:
                check(facts["asked"] == 0, f"{name}: no request reached the server while it "
                      f"was down ({facts['asked']})")
            else:
                check(facts["asked"] >= 1, f"{name}: the server page was asked for while the "
                      f"fault stood ({facts['asked']} requests)")
            errors = page_errors(steps, page)
            failed = [e for e in errors if e.split("\t")[1:2] != ["step"] or
                      e.split("\t")[3:4] not in [[what] for what in NO_MODULE_STEPS]]
            check(facts["reached"] and failed == [],
                  f"{name}: the faulted page starts and shows its viewer, and only the steps "
                  f"that need a module fail ({len(errors)} failed: {failed[:2]})")
        else:
            other = [b for b in boxes if not b.endswith(SAVED)]
            errors = page_errors(steps, page)
            connected = audio_connect(steps, page)
            after = ""
            if page - 1 in fault_pages:
                after = f"after the {fault_pages[page - 1][0]}, "
            elif page == 1:
                after = "after the audio server's silence, "
            check(other == [] and errors == [] and connected == ["Connected"],
                  f"{after}page {page} starts, shows its viewer, does every step and connects "
                  f"its audio, with no message box but the snapshots' (boxes {other[:3]}, "
                  f"errors {errors[:2]}, audio {connected})")


def check_audio(kv, audio_port, steps, injected):
    silent = [facts for name, _, facts in injected if name == "audio server silent"]
    if not check(silent != [], "the audio server went silent"):
        return
    facts = silent[0]
    connected_before = audio_connect(steps, 0) == ["Connected"]
    check(connected_before and 1 <= facts["from"] <= facts["to"] < PAGE - 1,
          f"the audio server went silent while the audio dialog was connected and came back "
          f"before the page closed (steps {facts['from']} to {facts['to']})")
    print(f"figure: audio server silent (page 0, steps {facts['from']} to {facts['to']}): "
          f"{facts['packets']} packets from the control unanswered; message boxes "
          f"{[b for b in page_boxes(steps, 0) if not b.endswith(SAVED)]}", flush=True)
    check(facts["packets"] > 0, f"the control went on sending to the silent server "
          f"({facts['packets']} packets)")
    logins = [d for d in kv.datagrams(audio_port) if len(d) == 68 and d[:2] == bytes([0x7E, LOGIN])]
    connects = [n for n, s in steps.items() for f in s["lines"]
                if f[0] == "audio" and f[2] == "connect" and f[3:4] == ["Connected"]]
    check(len(logins) >= len(connects) and any(n >= PAGE for n in connects),
          f"the audio dialog connects again after the silence ({len(connects)} connections, "
          f"{len(logins)} logins)")


def check_snapshots(steps, pictures):
    saved = [unescape(b[: -len(SAVED)]) for s in steps.values() for b in s["boxes"]
             if b.endswith(SAVED)]
    bad = lost_snapshots(saved, pictures)
    check(saved != [] and bad == [], f"no snapshot is lost: every \"... is saved.\" names a file "
          f"with the viewer's picture of its camera ({len(saved)} saved; {bad[:3]})")


def main():
    os.makedirs(WORK, exist_ok=True)
    kv = Kvsim(KVSIM, WORK)
    injector = None
    try:
        pictures = viewer_pictures(BIN, WORK)
        check(len(pictures) == 12, f"the viewer's pictures of six cameras at two tile heights "
              f"({len(pictures)})")
        page_port, audio_port = demo_with_audio(kv, MODE)
        for folder in snapshot_folders([page_port]):
            shutil.rmtree(folder, ignore_errors=True)
        path = os.path.join(WORK, "faults.txt")
        if os.path.exists(path):
            os.remove(path)
        command = ["wine", os.path.join(BIN, "soakwall.exe"), "--out", winpath(path),
                   "--soak", str(STEPS), "--reload-every", str(PAGE), "--sample-every",
                   str(STEPS), "--timeout", "20000", "--param", "strIpAddr=127.0.0.1",
                   "--param", "strUserID=root", "--param", "strUserPWD=kv", CONTROL,
                   str(page_port)]
        started = time.monotonic()
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        injector = Injector(kv, page_port, audio_port, ReportTail(path), process)
        injector.start()
        try:
            process.wait(timeout=300)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        took = time.monotonic() - started
        injector.join(timeout=30)
        lines = open(path, encoding="latin-1").read().splitlines() if os.path.exists(path) else []
        check(lines[-1:] == ["done"] and any(l.startswith("soak\t") for l in lines),
              f"soakwall --soak ran to the end under the faults ({took:.1f} s, exit "
              f"{process.returncode})")
        check(injector.problem is None and len(injector.log) == 1 + len(HTTP_FAULTS),
              f"every fault was put on the servers ({injector.problem or len(injector.log)})")
        steps = soak_steps(lines)
        check(len([n for n in steps if steps[n]["what"]]) == STEPS,
              f"every step ran ({len(steps)} of {STEPS})")
        check_pages(steps, injector.log)
        check_audio(kv, audio_port, steps, injector.log)
        check_snapshots(steps, pictures)
        seen = injector.report.seen
        times = [seen[(p + 1) * PAGE] - seen[p * PAGE] for p in range(PAGES - 1)
                 if p * PAGE in seen and (p + 1) * PAGE in seen]
        print(f"figure: {STEPS} steps, {PAGES} pages, {took:.1f} s; pages took "
              f"{', '.join(f'{t:.1f}' for t in times)} s", flush=True)
        if not failures:
            for folder in snapshot_folders([page_port]):
                shutil.rmtree(folder, ignore_errors=True)
    finally:
        kv.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
