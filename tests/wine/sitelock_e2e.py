#!/usr/bin/env python3
"""wine.sitelock: which pages may use the control, hosted in pelhost (posing as a browser with
--url, or as none) against kvsim. Run by sitelock.sh.   sitelock_e2e.py BIN WORK ARCH KVSIM"""
import os
import subprocess
import sys

from kvsim_control import Kvsim
from wine_suite import check, finish, message_boxes, registry, winpath

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
POLICY = r"HKCU\Software\Policies\Pelioran"
ZONE = (r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\ZoneMap\Domains"
        r"\sitelock.test")
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"


def case(name, url=None, refused_site=None):
    report = os.path.join(WORK, name + ".txt")
    before = len(KV.requests(PORT))
    params = ["strIpAddr=127.0.0.1", f"iHttpPort={PORT}", "strUserID=demo", "strUserPWD=demo"]
    subprocess.run(["wine", os.path.join(BIN, "pelhost.exe"), "--test", "--out", winpath(report),
                    "--dll", winpath(os.path.join(BIN, "Pelioran.ocx"))] +
                   (["--url", url] if url else []) + [a for p in params for a in ("--param", p)] +
                   ["--wait", "300", "--windows", CONTROL],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    lines = open(report, encoding="latin-1").read().splitlines() if os.path.exists(report) else []
    fields = [line.split("\t") for line in lines]
    text = [f[7] for f in fields if f[:3] == ["window", "0", "PelioranCtrlWindow"]]
    children = [int(f[3]) for f in fields if f[:2] == ["window", "1"]]
    safety = [f[2] for f in fields if f[0] == "safety"]
    sent = [r.split("\r\n")[0] for r in KV.requests(PORT)[before:]]
    boxes = message_boxes(lines)
    check(lines[-1:] == ["done"] and boxes == [], f"{name}: pelhost ran, no message box ({boxes})")
    if refused_site:
        line = (f"The Pelioran control is not allowed on {refused_site}. To allow it, an "
                f"administrator adds {refused_site} to AllowedSites under "
                "HKLM\\Software\\Policies\\Pelioran.")
        # Before its <param> tags the page may still be the server's; after them it is not.
        check(safety == ["0x00000000", "0x80004005"], f"{name}: not safe to script ({safety})")
        check(sent == [] and children == [], f"{name}: no request, no pane, no viewer ({sent})")
        check(text == [line], f"{name}: the window's line names the site and the setting ({text})")
    else:
        check(safety == (["0x00000000"] * 2 if url else []), f"{name}: safe ({safety})")
        check(sent[:1] == [f"GET http://127.0.0.1:{PORT}/asp-get/kvsvrinf.asp HTTP/1.1"] and
              59648 in children, f"{name}: the server page read, the pane made ({sent[:1]})")


KV = Kvsim(KVSIM, WORK)
try:
    PORT = KV.load(os.path.join(ROOT, "tools", "kvsim", "demo.scenario"))
    foreign = f"http://127.0.0.2:{PORT}"
    case("foreign", foreign + "/index.html?cam=1", refused_site=foreign)
    with registry(POLICY, POLICY, "/v", "AllowedSites", "/t", "REG_MULTI_SZ", "/d",
                  f"https://127.0.0.2:{PORT}\\0{foreign}"):
        case("listed", foreign + "/index.html")
    case("same-host", f"http://127.0.0.1:{PORT}/index.html")
    with registry(ZONE, ZONE + r"\portal", "/v", "http", "/t", "REG_DWORD", "/d", "1"):
        case("intranet", f"http://portal.sitelock.test:{PORT}/index.html")
    case("file", "file:///C:/pages/index.html")
    case("no-browser")
finally:
    KV.close()
sys.exit(finish())
