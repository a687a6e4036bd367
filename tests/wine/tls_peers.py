"""Peers for the https cases, each in the work folder and on 127.0.0.1 only: throw-away
certificates made with openssl, nginx with TLS in front of a server (one port per
certificate, each with its own access log) and tinyproxy (CONNECT to one port only). Used by
tests/wine/tls_e2e.py and bench/https_vs_curl.sh."""
import os
import shutil
import socket
import subprocess
import time

# The certificates nginx serves, by name: (signing authority, the name it carries, valid dates
# or None for from yesterday to next week).
LEAVES = {
    "good": ("ca", "localhost", None),
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
default_days = 7
policy = any
unique_subject = no
[any]
commonName = supplied
[leaf]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:{name}
"""


def require(*programs):
    """Fails (never skips) when a peer program is missing."""
    missing = [p for p in programs if not shutil.which(p) and not os.path.exists(p)]
    if missing:
        raise SystemExit(f"missing: {', '.join(missing)} (scripts/install-deps.sh)")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for_port(port, process):
    for _ in range(100):
        if process.poll() is not None:
            raise SystemExit(f"a peer ended at once (port {port})")
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)
    raise SystemExit(f"nothing listens on {port}")


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def make_certificates(folder):
    """Two authorities and the LEAVES in `folder`: {name: (certificate, key)}; the trusted
    authority's certificate is folder/ca.crt."""
    os.makedirs(folder, exist_ok=True)
    for ca in ("ca", "other-ca"):
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "7",
                "-keyout", f"{folder}/{ca}.key", "-out", f"{folder}/{ca}.crt",
                "-subj", f"/CN=Pelioran throw-away {ca}",
                "-addext", "basicConstraints=critical,CA:TRUE",
                "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    made = {}
    for leaf, (ca, name, dates) in LEAVES.items():
        base = f"{folder}/{leaf}"
        work = f"{base}.ca"
        os.makedirs(work, exist_ok=True)
        open(f"{work}/index.txt", "w").close()
        with open(f"{work}/serial", "w") as f:
            f.write(f"{0x1000 + len(made):04X}\n")
        with open(f"{work}/ca.cnf", "w") as f:
            f.write(CA_CONFIG.format(d=work, name=name))
        openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{base}.key",
                "-out", f"{base}.csr", "-subj", f"/CN={name}")
        if dates is None:
            now = time.time()
            dates = tuple(time.strftime("%Y%m%d%H%M%SZ", time.gmtime(now + d * 86400))
                          for d in (-1, 7))
        openssl("ca", "-batch", "-notext", "-config", f"{work}/ca.cnf", "-extensions", "leaf",
                "-cert", f"{folder}/{ca}.crt", "-keyfile", f"{folder}/{ca}.key",
                "-startdate", dates[0], "-enddate", dates[1],
                "-in", f"{base}.csr", "-out", f"{base}.crt")
        made[leaf] = (f"{base}.crt", f"{base}.key")
    return made


class Nginx:
    """nginx with TLS on one port per certificate, each passing every request to
    127.0.0.1:upstream and logging the request lines it got to its own access log."""

    def __init__(self, folder, certificates, upstream):
        require("nginx")
        self.folder = folder
        self.ports = {name: free_port() for name in certificates}
        tmp = os.path.join(folder, "nginx-tmp")
        os.makedirs(tmp, exist_ok=True)
        servers = "".join(
            f"  server {{ listen 127.0.0.1:{self.ports[name]} ssl;"
            f" ssl_certificate {crt}; ssl_certificate_key {key};"
            f" access_log {self.access_log(name)} lines;"
            f" location / {{ proxy_pass http://127.0.0.1:{upstream}; }} }}\n"
            for name, (crt, key) in certificates.items())
        conf = os.path.join(folder, "nginx.conf")
        with open(conf, "w") as f:
            f.write(f"""daemon off;
master_process off;
worker_processes 1;
user root;
pid {folder}/nginx.pid;
error_log {folder}/nginx-error.log info;
events {{ worker_connections 64; }}
http {{
  log_format lines '$request $http_host';
  client_body_temp_path {tmp}/body;
  proxy_temp_path {tmp}/proxy;
  fastcgi_temp_path {tmp}/fastcgi;
  uwsgi_temp_path {tmp}/uwsgi;
  scgi_temp_path {tmp}/scgi;
  ssl_protocols TLSv1.2 TLSv1.3;
{servers}}}
""")
        for name in certificates:
            open(self.access_log(name), "w").close()
        self.process = subprocess.Popen(["nginx", "-c", conf, "-p", folder],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for port in self.ports.values():
            wait_for_port(port, self.process)

    def access_log(self, name):
        return os.path.join(self.folder, f"nginx-{name}.access.log")

    def requests(self, name):
        """The request lines nginx logged on the port of certificate `name`, each followed by
        its Host field."""
        return open(self.access_log(name)).read().splitlines()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Tinyproxy:
    """tinyproxy on a free port, tunnelling CONNECT to `connect_port` only; its log lines."""

    def __init__(self, folder, connect_port):
        require("tinyproxy")
        self.port = free_port()
        self.log_path = os.path.join(folder, "tinyproxy.log")
        conf = os.path.join(folder, "tinyproxy.conf")
        with open(conf, "w") as f:
            f.write(f"User nobody\nGroup nogroup\nPort {self.port}\nListen 127.0.0.1\n"
                    f"Timeout 30\nMaxClients 20\nAllow 127.0.0.1\nLogLevel Info\n"
                    f"ConnectPort {connect_port}\n")
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen(["tinyproxy", "-d", "-c", conf], stdout=self.log,
                                        stderr=subprocess.STDOUT)
        wait_for_port(self.port, self.process)

    def requests(self):
        """The request lines tinyproxy logged ("CONNECT host:port HTTP/1.1", ...)."""
        self.log.flush()
        lines = open(self.log_path, encoding="latin-1").read().splitlines()
        return [l.split("): ", 1)[1] for l in lines if "Request (file descriptor" in l]

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.log.close()
