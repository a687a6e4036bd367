#!/usr/bin/env python3
"""wine.tls: the control reading an https server, hosted in pelhost (posing as a browser on the
server's own page) against nginx with TLS in front of kvsim. Run by tls.sh.

    tls_e2e.py BIN WORK ARCH KVSIM TRUSTING UNTRUSTING

TRUSTING is a Wine prefix that runs only in a private mount namespace whose system bundle of
roots has this run's throw-away authority appended; UNTRUSTING one that never saw it.
"""
import os
import re
import subprocess
import sys

from kvsim_control import Kvsim
from tls_peers import Nginx, Tinyproxy, make_certificates, require
from wine_suite import check, finish, message_boxes, reg_exe, registry, winpath

BIN, WORK, ARCH, KVSIM, TRUSTING, UNTRUSTING = sys.argv[1:7]
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"
BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
POLICY = r"HKLM\Software\Policies\Pelioran"
AUTH = "Authorization: Basic ZGVtbzpkZW1v"  # demo:demo
PAGES = ["/asp-get/kvsvrinf.asp", "/asp-get/kvmodinf.asp?KvModId=0"]
# The messages, by reason: the string table's texts 2057, 2058, 2059 and 2061.
TEXTS = dict(zip(["untrusted", "expired", "wrong-name", "plain"], [
    re.search(rf'PEL_STRING\({n}, \w+, "(.*)"\)', open(os.path.join(
        ROOT, "src", "res", "strings.inc")).read()).group(1) for n in (2057, 2058, 2059, 2061)]))


def wine_command(trusting):
    """Runs a Windows program in a prefix; the trusting one sees the bundle with the authority
    in a mount namespace of its own, so the machine's bundle never changes."""
    env = ["env", f"WINEPREFIX={TRUSTING if trusting else UNTRUSTING}"]
    if not trusting:
        return env + ["wine"]
    return (["unshare", "-m", "--", "sh", "-c",
             'mount --bind "$0" "$1" && shift && exec "$@"', TRUSTED_BUNDLE, BUNDLE] +
            env + ["wine"])


def host(name, params, url, trusting=True):
    """The control started in pelhost on page `url` with these <param> tags besides the
    credentials: its message boxes, and what kvsim got meanwhile."""
    report = os.path.join(WORK, name + ".txt")
    before = len(KV.requests(KV_PORT))
    params = list(params) + ["strUserID=demo", "strUserPWD=demo"]
    subprocess.run(wine_command(trusting) + [
        os.path.join(BIN, "pelhost.exe"), "--test", "--out", winpath(report),
        "--dll", winpath(os.path.join(BIN, "Pelioran.ocx")), "--url", url] +
        [a for p in params for a in ("--param", p)] + ["--wait", "300", CONTROL],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    lines = open(report, encoding="latin-1").read().splitlines() if os.path.exists(report) else []
    check(lines[-1:] == ["done"], f"{name}: pelhost ran to the end")
    return [texts for _, texts in message_boxes(lines)], KV.requests(KV_PORT)[before:]


def https(name, certificate, trusting=True):
    """The control on the page of https://localhost:<the certificate's nginx port>, reading
    that server: its message boxes, what kvsim got, and what nginx logged meanwhile."""
    server = f"https://localhost:{NGINX.ports[certificate]}"
    logged = len(NGINX.requests(certificate))
    boxes, got = host(name, [f"strIpAddr={server}"], server + "/index.html", trusting)
    return boxes, got, NGINX.requests(certificate)[logged:]


def read_over_tls(name, proxy_lines=()):
    """Both pages went through nginx with the written host and reached kvsim with the
    credentials; tinyproxy logged `proxy_lines` meanwhile."""
    port = NGINX.ports["good"]
    proxied = len(PROXY.requests())
    boxes, got, logged = https(name, "good")
    check(boxes == [], f"{name}: no message box", boxes)
    check(logged == [f"GET https://localhost:{port}{p} HTTP/1.1 localhost" for p in PAGES],
          f"{name}: nginx got both pages for host localhost", logged)
    check([r.split("\r\n")[0] for r in got] == [f"GET {p} HTTP/1.0" for p in PAGES] and
          all(AUTH in r.split("\r\n") for r in got), f"{name}: kvsim got both with credentials",
          got)
    check(PROXY.requests()[proxied:] == list(proxy_lines),
          f"{name}: tinyproxy logged {list(proxy_lines)}", PROXY.requests()[proxied:])


def refused(name, certificate, reason, trusting=True):
    """The read of the server with this certificate ends in the reason's message, and nothing
    reaches nginx's log or kvsim."""
    boxes, got, logged = https(name, certificate, trusting)
    check(boxes[:1] == [TEXTS[reason] % "localhost"], f"{name}: the {reason} message", boxes)
    check(logged == [] and got == [], f"{name}: no request logged", logged + got)


require("openssl", "unshare", "mount")
certificates = make_certificates(os.path.join(WORK, "certs"))
TRUSTED_BUNDLE = os.path.join(WORK, "ca-certificates.crt")
with open(TRUSTED_BUNDLE, "w") as out:
    out.write(open(BUNDLE).read() + "\n" + open(os.path.join(WORK, "certs", "ca.crt")).read())
KV = Kvsim(KVSIM, WORK)
NGINX = PROXY = None
try:
    KV_PORT = KV.load(os.path.join(ROOT, "tools", "kvsim", "demo.scenario"))
    NGINX = Nginx(WORK, certificates, KV_PORT)
    PROXY = Tinyproxy(WORK, NGINX.ports["good"])
    read_over_tls("good")
    refused("expired", "expired", "expired")
    refused("wrong-name", "wrong-name", "wrong-name")
    refused("unknown-ca", "unknown-ca", "untrusted")
    refused("never-trusted", "good", "untrusted", trusting=False)
    trusting = wine_command(True)
    with registry(POLICY, POLICY, "/v", "RequireTls", "/t", "REG_DWORD", "/d", "1",
                  exe=reg_exe(ARCH), wine=trusting):
        boxes, got = host("require-tls", ["strIpAddr=127.0.0.1", f"iHttpPort={KV_PORT}"],
                          f"http://127.0.0.1:{KV_PORT}/")
        check(boxes[:1] == [TEXTS["plain"] % "127.0.0.1"], "require-tls: the message", boxes)
        check(got == [], "require-tls: kvsim got nothing", got)
        read_over_tls("require-tls-https")
    proxy = f"127.0.0.1:{PROXY.port}"
    tunnel = f"CONNECT localhost:{NGINX.ports['good']} HTTP/1.1"
    value = lambda name: [SETTINGS, "/v", name]
    with registry(value("ProxyEnable"), SETTINGS, "/v", "ProxyEnable", "/t", "REG_DWORD", "/d",
                  "1", wine=trusting), \
         registry(value("ProxyServer"), SETTINGS, "/v", "ProxyServer", "/d",
                  f"http={proxy};https={proxy}", wine=trusting):
        read_over_tls("browser-proxy", [tunnel, tunnel])
        with registry(value("ProxyOverride"), SETTINGS, "/v", "ProxyOverride", "/d",
                      "*.invalid;localhost", wine=trusting):
            read_over_tls("proxy-override")
finally:
    for peer in (PROXY, NGINX, KV):
        if peer:
            peer.close()
sys.exit(finish())
