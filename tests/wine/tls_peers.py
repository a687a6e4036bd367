"""Peers for the https cases, in a work folder and on 127.0.0.1 only: throw-away certificates
made with openssl, nginx with TLS in front of a server (a port and an access log for each
certificate) and tinyproxy (CONNECT to one port only). Used by tests/wine/tls_e2e.py and
bench/https_vs_curl.py."""
import os
import shutil
import socket
import subprocess
import time

# The certificates nginx serves: name -> (signing authority, the host it names, its dates).
LEAVES = {
    "good": ("ca", "localhost", None),  # from yesterday to next week
    "expired": ("ca", "localhost", ("20200101000000Z", "20200201000000Z")),
    "wrong-name": ("ca", "wrong-name.invalid", None),
    "unknown-ca": ("other-ca", "localhost", None),
}
CA_CONFIG = """[ca]
default_ca = test
[test]
database = {d}/index.txt
new_certs_dir = {d}
serial = {d}/serial
default_md = sha256
policy = any
[any]
commonName = supplied
[leaf]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:{name}
"""


def require(*programs):
    """Fails (never skips) when a program is missing."""
    missing = [p for p in programs if not shutil.which(p) and not os.path.exists(p)]
    if missing:
        raise SystemExit(f"missing: {', '.join(missing)} (scripts/install-deps.sh)")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start(command, ports, **streams):
    """A peer's process, once every one of its ports takes connections."""
    process = subprocess.Popen(command, **streams)
    for port in ports:
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
                break
            except OSError:
                if process.poll() is not None:
                    raise SystemExit(f"{command[0]} ended at its start")
                time.sleep(0.05)
    return process


def make_certificates(folder):
    """Both authorities (folder/ca.crt is the one to trust) and the LEAVES, as
    {name: (certificate, key)}."""
    run = lambda *a: subprocess.run(["openssl", *a], check=True, capture_output=True)
    os.makedirs(folder, exist_ok=True)
    for ca in ("ca", "other-ca"):
        run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "7", "-keyout",
            f"{folder}/{ca}.key", "-out", f"{folder}/{ca}.crt", "-subj", f"/CN=throw-away {ca}",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    made = {}
    for serial, (leaf, (ca, name, dates)) in enumerate(LEAVES.items(), start=0x1000):
        base, db = f"{folder}/{leaf}", f"{folder}/{leaf}.db"
        os.makedirs(db, exist_ok=True)
        open(f"{db}/index.txt", "w").close()
        open(f"{db}/serial", "w").write(f"{serial:X}\n")
        open(f"{db}/ca.cnf", "w").write(CA_CONFIG.format(d=db, name=name))
        run("req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{base}.key", "-out",
            f"{base}.csr", "-subj", f"/CN={name}")
        dates = dates or [time.strftime("%Y%m%d%H%M%SZ", time.gmtime(time.time() + d * 86400))
                          for d in (-1, 7)]
        run("ca", "-batch", "-notext", "-config", f"{db}/ca.cnf", "-extensions", "leaf",
            "-cert", f"{folder}/{ca}.crt", "-keyfile", f"{folder}/{ca}.key", "-startdate",
            dates[0], "-enddate", dates[1], "-in", f"{base}.csr", "-out", f"{base}.crt")
        made[leaf] = (f"{base}.crt", f"{base}.key")
    return made


class Nginx:
    """nginx with TLS, a port for each certificate, passing every request to
    127.0.0.1:upstream; each port logs its request lines and Host fields apart."""

    def __init__(self, folder, certificates, upstream):
        require("nginx")
        self.folder, self.ports = folder, {name: free_port() for name in certificates}
        servers = "".join(
            f"server {{ listen 127.0.0.1:{self.ports[name]} ssl; ssl_certificate {crt};"
            f" ssl_certificate_key {key}; access_log {self.log(name)} lines;"
            f" location / {{ proxy_pass http://127.0.0.1:{upstream}; }} }}\n"
            for name, (crt, key) in certificates.items())
        temps = "".join(f"{kind}_temp_path {folder}/nginx-{kind};\n"
                        for kind in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        conf = os.path.join(folder, "nginx.conf")
        open(conf, "w").write(
            f"daemon off; master_process off; user root; pid {folder}/nginx.pid;\n"
            f"error_log {folder}/nginx-error.log info;\nevents {{ worker_connections 64; }}\n"
            f"http {{\nlog_format lines '$request $http_host';\nssl_protocols TLSv1.2 TLSv1.3;\n"
            f"{temps}{servers}}}\n")
        for name in certificates:
            open(self.log(name), "w").close()
        self.process = start(["nginx", "-c", conf, "-p", folder], self.ports.values())

    def log(self, name):
        return os.path.join(self.folder, f"nginx-{name}.access.log")

    def requests(self, name):
        """What the port of certificate `name` logged: "<request line> <Host>" each."""
        return open(self.log(name)).read().splitlines()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Tinyproxy:
    """tinyproxy on a free port, which tunnels (CONNECT) to `connect_port` only."""

    def __init__(self, folder, connect_port):
        require("tinyproxy")
        self.port, self.path = free_port(), os.path.join(folder, "tinyproxy.log")
        conf = os.path.join(folder, "tinyproxy.conf")
        open(conf, "w").write(f"User nobody\nGroup nogroup\nPort {self.port}\nListen 127.0.0.1\n"
                              f"Allow 127.0.0.1\nLogLevel Info\nConnectPort {connect_port}\n")
        self.log = open(self.path, "w")
        self.process = start(["tinyproxy", "-d", "-c", conf], [self.port], stdout=self.log,
                             stderr=subprocess.STDOUT)

    def requests(self):
        """The request lines tinyproxy logged ("CONNECT host:port HTTP/1.1", ...)."""
        lines = open(self.path, encoding="latin-1").read().splitlines()
        return [l.split("): ", 1)[1] for l in lines if "Request (file descriptor" in l]

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.log.close()
