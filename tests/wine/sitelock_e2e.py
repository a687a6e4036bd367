#!/usr/bin/env python3
"""wine.sitelock: which pages may use the control. pelhost hosts it against kvsim, posing as a
browser showing a page (--url) or as no browser at all. Run by sitelock.sh (display, prefix).

    sitelock_e2e.py BIN WORK ARCH KVSIM

A refused page is told so by SetInterfaceSafetyOptions for scripting, makes no request and shows no message
box, and the control's window holds only the refusal line. Allowed: the page listed in
AllowedSites, a page of the server's own host, a page the zone map puts in the intranet, a
local file, and no browser. Every registry value written is taken back.
"""
import os
import subprocess
import sys

from kvsim_control import Kvsim
from wine_suite import check, finish, message_boxes, winpath

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"
PANE_ID = 59648
POLICY = r"HKCU\Software\Policies\Pelioran"
ZONE_DOMAIN = (r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\ZoneMap"
               r"\Domains\sitelock.test")
S_OK = "0x00000000"
E_FAIL = "0x80004005"


def host(name, url=None):
    report = os.path.join(WORK, name + ".txt")
    command = ["wine", os.path.join(BIN, "pelhost.exe"), "--test", "--out", winpath(report),
               "--dll", winpath(os.path.join(BIN, "Pelioran.ocx"))]
    if url:
        command += ["--url", url]
    for p in ("strIpAddr=127.0.0.1", f"iHttpPort={PORT}", "strUserID=demo", "strUserPWD=demo"):
        command += ["--param", p]
    command += ["--wait", "300", "--windows", CONTROL]
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            timeout=120).returncode
    lines = open(report, encoding="latin-1").read().splitlines() if os.path.exists(report) else []
    check(status == 0 and lines[-1:] == ["done"], f"{name}: pelhost ran to the end (exit {status})")
    return lines


def reg(*args):
    return subprocess.run(["wine", "reg", *args], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def control_window(lines):
    """The control window's line (depth 0) as its fields, and its children's IDs."""
    window = None
    children = []
    for line in lines:
        f = line.split("\t")
        if f[0] != "window":
            continue
        if f[1] == "0" and f[2] == "PelioranCtrlWindow":
            window = f
        elif f[1] == "1":
            children.append(int(f[3]))
    return window, children


def safety(lines):
    """SetInterfaceSafetyOptions' answers: before the <param> tags, then for scripting."""
    return [line.split("\t")[2] for line in lines if line.startswith("safety\t")]


def refused(name, url, site):
    before = len(KV.requests(PORT))
    lines = host(name, url)
    window, children = control_window(lines)
    # Before its <param> tags the page may still be the server's own; after them it is not.
    check(safety(lines) == [S_OK, E_FAIL], f"{name}: not safe to script ({safety(lines)})")
    check(len(KV.requests(PORT)) == before, f"{name}: kvsim got no request")
    check(message_boxes(lines) == [], f"{name}: no message box ({message_boxes(lines)})")
    check(children == [], f"{name}: neither pane nor viewer ({children})")
    line = (f"The Pelioran control is not allowed on {site}. To allow it, an administrator adds "
            f"{site} to AllowedSites under HKLM\\Software\\Policies\\Pelioran.")
    text = window[7] if window and len(window) > 7 else None
    check(text == line, f"{name}: the window's one line names the site and the setting ({text})")


def works(name, url=None):
    before = len(KV.requests(PORT))
    lines = host(name, url)
    _, children = control_window(lines)
    if url:
        check(safety(lines) == [S_OK, S_OK], f"{name}: safe to initialise and script "
                                             f"({safety(lines)})")
    firsts = [r.split("\r\n")[0] for r in KV.requests(PORT)[before:]]
    check(firsts[:1] == [f"GET http://127.0.0.1:{PORT}/asp-get/kvsvrinf.asp HTTP/1.1"],
          f"{name}: the server page is read ({firsts[:1]})")
    check(message_boxes(lines) == [], f"{name}: no message box ({message_boxes(lines)})")
    check(PANE_ID in children, f"{name}: the pane is there ({children})")


def main():
    global KV, PORT
    os.makedirs(WORK, exist_ok=True)
    KV = Kvsim(KVSIM, WORK)
    try:
        PORT = KV.load(os.path.join(ROOT, "tools", "kvsim", "demo.scenario"))
        foreign = f"http://127.0.0.2:{PORT}"
        refused("foreign", foreign + "/index.html?cam=1", foreign)
        try:
            check(reg("add", POLICY, "/v", "AllowedSites", "/t", "REG_MULTI_SZ", "/d",
                      f"https://127.0.0.2:{PORT}\\0{foreign}", "/f"), "listed: AllowedSites set")
            works("listed", foreign + "/index.html")
        finally:
            check(reg("delete", POLICY, "/f"), "listed: AllowedSites taken back")
        works("same-host", f"http://127.0.0.1:{PORT}/index.html")
        try:
            check(reg("add", ZONE_DOMAIN + r"\portal", "/v", "http", "/t", "REG_DWORD", "/d", "1",
                      "/f"), "intranet: the zone map names the page's host")
            works("intranet", f"http://portal.sitelock.test:{PORT}/index.html")
        finally:
            check(reg("delete", ZONE_DOMAIN, "/f"), "intranet: the zone map entry taken back")
        works("file", "file:///C:/pages/index.html")
        works("no-browser")
    finally:
        KV.close()
    return finish()


if __name__ == "__main__":
    sys.exit(main())
