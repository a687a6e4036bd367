#!/usr/bin/env python3
"""The start's two reads over https (server page and module page, with credentials, a new
connection for each), by the control's page reader under Wine (pel_https_reads, timed inside
the program) beside curl fetching the same two pages, against nginx with a throw-away
certificate in front of kvsim, all on 127.0.0.1. Prints both times and their ratio.

    bench/https_vs_curl.py [WIN_BUILD [KVSIM [REPETITIONS [ROUNDS]]]]

WIN_BUILD defaults to build/win-x86_64, KVSIM to build/native/tools/kvsim, 50 repetitions
(100 reads) per run, 3 rounds taken in turns, the median of each side. Wine runs in its own
prefix (PEL_WINEPREFIX, default build/bench-https-prefix) inside a private mount namespace
whose system bundle of roots holds the throw-away authority; the machine's bundle is left as
it is. curl resumes no TLS session (--no-sessionid) and closes each connection, as the
control does. The Windows side is timed with a steady clock rather than Google Benchmark:
Debian packages that library for Linux only, and its source package comes from no installed
package source.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))
from kvsim_control import Kvsim  # noqa: E402
from tls_peers import Nginx, make_certificates, require  # noqa: E402

args = sys.argv[1:] + [None] * 4
WIN = args[0] or os.path.join(ROOT, "build", "win-x86_64")
KVSIM = args[1] or os.path.join(ROOT, "build", "native", "tools", "kvsim")
REPETITIONS = int(args[2] or 50)
ROUNDS = int(args[3] or 3)
BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
PAGES = ["/asp-get/kvsvrinf.asp", "/asp-get/kvmodinf.asp?KvModId=0"]
PREFIX = os.environ.get("PEL_WINEPREFIX", os.path.join(ROOT, "build", "bench-https-prefix"))


def ours(port, trusted_bundle):
    """Milliseconds for REPETITIONS starts, as pel_https_reads measures them."""
    program = os.path.join(WIN, "bin", "pel_https_reads.exe")
    out = subprocess.run(
        ["unshare", "-m", "--", "sh", "-c", 'mount --bind "$0" "$1" && shift && exec "$@"',
         trusted_bundle, BUNDLE, "bash", os.path.join(ROOT, "scripts", "wine-run.sh"), program,
         "localhost", str(port), "demo", "demo", str(REPETITIONS)],
        env={**os.environ, "PEL_WINEPREFIX": PREFIX}, capture_output=True, text=True)
    fields = out.stdout.split()
    if out.returncode != 0 or fields[:1] != ["reads"] or int(fields[1]) != 2 * REPETITIONS:
        raise SystemExit(f"pel_https_reads failed: {out.stdout} {out.stderr}")
    return float(fields[3])


def theirs(port, ca):
    """Milliseconds for one curl process fetching the two pages REPETITIONS times."""
    urls = [f"https://localhost:{port}{p}" for p in PAGES] * REPETITIONS
    command = ["curl", "-s", "-f", "--no-sessionid", "-H", "Connection: close",
               "--cacert", ca, "--resolve", f"localhost:{port}:127.0.0.1", "-u", "demo:demo"]
    start = time.monotonic()
    status = subprocess.run(command + urls, stdout=subprocess.DEVNULL).returncode
    elapsed = (time.monotonic() - start) * 1000
    if status != 0:
        raise SystemExit(f"curl failed ({status})")
    return elapsed


require("curl", "nginx", "openssl", "unshare", "wine", KVSIM)
with tempfile.TemporaryDirectory() as work:
    certificates = make_certificates(os.path.join(work, "certs"))
    trusted = os.path.join(work, "ca-certificates.crt")
    with open(trusted, "w") as out:
        out.write(open(BUNDLE).read() + "\n" + open(os.path.join(work, "certs", "ca.crt")).read())
    kv = Kvsim(KVSIM, work)
    nginx = None
    try:
        nginx = Nginx(work, {"good": certificates["good"]},
                      kv.load(os.path.join(ROOT, "tools", "kvsim", "demo.scenario")))
        port = nginx.ports["good"]
        ours(port, trusted), theirs(port, os.path.join(work, "certs", "ca.crt"))  # warm-up
        times = {"ours": [], "curl": []}
        for _ in range(ROUNDS):
            times["ours"].append(ours(port, trusted))
            times["curl"].append(theirs(port, os.path.join(work, "certs", "ca.crt")))
    finally:
        if nginx:
            nginx.close()
        kv.close()
        subprocess.run(["wineserver", "-w"], env={**os.environ, "WINEPREFIX": PREFIX})

mine, curl = statistics.median(times["ours"]), statistics.median(times["curl"])
print(f"https start (server page + module page, credentials, a new connection per read), "
      f"{REPETITIONS} starts, median of {ROUNDS}:")
print(f"  Pelioran page reader (Schannel under Wine): {mine:9.1f} ms  "
      f"{mine / REPETITIONS:7.2f} ms a start")
print(f"  curl (OpenSSL)                            : {curl:9.1f} ms  "
      f"{curl / REPETITIONS:7.2f} ms a start")
print(f"  ratio Pelioran / curl: {mine / curl:.2f}")
