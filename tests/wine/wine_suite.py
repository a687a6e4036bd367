"""What every Wine suite's script shares: its checks, Windows paths of Linux files and back,
and the report fields the hosts escape (tests/hostkit/Text.h)."""
import contextlib
import os
import re
import subprocess

failures = []


def check(ok, what, detail=""):
    """Prints "ok: WHAT" or "FAIL: WHAT[: DETAIL]"; a failure is kept for finish()."""
    print(("ok: " if ok else "FAIL: ") + what + (f": {detail}" if detail and not ok else ""),
          flush=True)
    if not ok:
        failures.append(what)
    return ok


def finish():
    """The exit status of a suite: 1 when a check failed."""
    print(f"{len(failures)} failed", flush=True)
    return 1 if failures else 0


def winpath(path):
    """A Linux path as Wine's Z: drive shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def regsvr32(arch, dll, unregister=False):
    """Registers (or unregisters) a Linux path's DLL with the regsvr32 of arch (x86_64, i686);
    True when it did."""
    exe = "C:\\windows\\syswow64\\regsvr32.exe" if arch == "i686" else "regsvr32"
    command = ["wine", exe, "/s"] + (["/u"] if unregister else []) + [winpath(dll)]
    return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=60).returncode == 0


def take_log(path):
    """A components' call log's lines since the last take, split at tabs; the log is emptied."""
    lines = open(path, encoding="latin-1").read().splitlines() if os.path.exists(path) else []
    open(path, "w").close()
    return [line.split("\t") for line in lines]


def linux_path(windows_path):
    """C:\\... in the prefix as a Linux path."""
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", windows_path[3:].replace("\\", "/"))


_ESCAPES = {"t": "\t", "n": "\n", "r": "\r", "0": "\0"}


def unescape(text):
    """A report field as it was before the host escaped it."""
    return re.sub(r"\\(.)", lambda m: _ESCAPES.get(m.group(1), m.group(1)), text)


def message_boxes(lines):
    """The reports' "msgbox CAPTION TEXTS" lines as [caption, texts], unescaped."""
    boxes = []
    for line in lines:
        fields = line.split("\t")
        if fields[0] == "msgbox":
            boxes.append([unescape(f) for f in (fields + ["", ""])[1:3]])
    return boxes


def reg_exe(arch):
    """The reg.exe whose registry view the control of arch (x86_64, i686) reads."""
    return "C:\\windows\\syswow64\\reg.exe" if arch == "i686" else "reg"


@contextlib.contextmanager
def registry(key, added, *value, exe="reg", wine=("wine",)):
    """A registry value (in `added`, below `key`) for the cases inside; `key` goes after them
    (a list: the arguments of `reg delete` that take it back, e.g. [KEY, "/v", NAME]). `wine`
    is the command that runs Windows programs, `exe` the reg.exe of a registry view."""
    run = lambda *a: subprocess.run([*wine, exe, *a], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL).returncode == 0
    check(run("add", added, *value, "/f"), f"{' '.join([added, *value[:2]])} set")
    try:
        yield
    finally:
        removed = [key] if isinstance(key, str) else list(key)
        check(run("delete", *removed, "/f"), f"{' '.join(removed)} taken back")
