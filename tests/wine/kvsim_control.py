"""kvsim started with its control port, for the Wine suites' scripts: scenarios are loaded and
unloaded while it runs, and the requests each server got are read back."""
import os
import socket
import subprocess
import time


class Kvsim:
    def __init__(self, kvsim, work):
        port_file = os.path.join(work, "kvsim.port")
        if os.path.exists(port_file):
            os.remove(port_file)
        self.log = open(os.path.join(work, "kvsim.log"), "w")
        self.process = subprocess.Popen([kvsim, "--control", "--port-file", port_file],
                                        stdout=self.log, stderr=subprocess.STDOUT)
        for _ in range(100):
            if os.path.exists(port_file) and open(port_file).read().strip():
                break
            time.sleep(0.05)
        self.control = int(open(port_file).read().strip())
        self.udp_ports = {}  # a scenario's HTTP port -> its audio port, where it has one

    def command(self, text, body=b""):
        with socket.create_connection(("127.0.0.1", self.control), timeout=10) as s:
            s.sendall(text.encode() + body)
            chunks = []
            while True:
                data = s.recv(65536)
                if not data:
                    break
                chunks.append(data)
        return b"".join(chunks)

    def load_text(self, text):
        """Loads a scenario; the port of its server."""
        body = text.encode() if isinstance(text, str) else text
        answer = self.command(f"LOAD {len(body)}\n", body).decode().split()
        assert answer and answer[0] == "OK", answer
        if len(answer) > 2:
            self.udp_ports[int(answer[1])] = int(answer[2])
        return int(answer[1])

    def load(self, path):
        return self.load_text(open(path, "rb").read())

    def records(self, verb, port):
        data = self.command(f"{verb} {port}\n")
        head, _, rest = data.partition(b"\n")
        out = []
        for _ in range(int(head.split()[1])):
            size, _, rest = rest.partition(b"\n")
            out.append(rest[: int(size)])
            rest = rest[int(size):]
        return out

    def requests(self, port):
        """Every request the server on `port` got, whole, in order."""
        return [r.decode("latin-1") for r in self.records("REQUESTS", port)]

    def datagrams(self, port):
        """What the scenario's audio port received, in order."""
        return self.records("DATAGRAMS", port)

    def request_lines(self, port):
        """The request lines of what the server on `port` got."""
        return [r.split("\r\n")[0] for r in self.requests(port)]

    def unload(self, port):
        self.command(f"UNLOAD {port}\n")

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.log.close()
