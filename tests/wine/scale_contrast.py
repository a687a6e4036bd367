"""The pane at another display scale and in high contrast mode: the control in pelhost against
kvsim's demo server at 96 DPI, at 144 DPI (LogPixels, then a new wineserver) and at 96 DPI with
high contrast on (the accessibility setting and a high contrast colour scheme), each shot's pane
checked against its own reference in reference/, and the buttons' rectangles at 144 DPI 1.5
times those at 96: a section of wine.access (tests/access/access_e2e.py). With PEL_DOCS_DIR the
144-DPI and high contrast shots of the pane are also written there (docs/); with
PEL_UPDATE_REFERENCES=1 they become the references.
"""
import os
import shutil
import subprocess

from wine_suite import check, winpath

HERE = os.path.dirname(os.path.abspath(__file__))
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"
PANE_CLASS = "PelioranOperPane"
# A high contrast scheme as the system's colour settings hold it: white on black.
CONTRAST_COLOURS = {"Window": "0 0 0", "WindowText": "255 255 255", "ButtonFace": "0 0 0",
                    "ButtonText": "255 255 255", "Hilight": "26 235 255",
                    "HilightText": "0 0 0", "GrayText": "63 242 63"}


def reg(*args):
    subprocess.run(["wine", "reg"] + list(args) + ["/f"], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)


def query(key, name):
    """A registry value's text, None when it is not there."""
    out = subprocess.run(["wine", "reg", "query", key, "/v", name], capture_output=True,
                         text=True, check=False).stdout
    for line in out.splitlines():
        f = line.split(None, 2)
        if len(f) >= 2 and f[0] == name and f[1].startswith("REG_"):
            return f[2] if len(f) == 3 else ""
    return None


ACCESSIBILITY = r"HKCU\Control Panel\Accessibility\HighContrast"
COLOURS = r"HKCU\Control Panel\Colors"
DPI_KEYS = (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts")


def saved_display():
    """The prefix's own values of everything set_display changes."""
    return {(COLOURS, n): query(COLOURS, n) for n in CONTRAST_COLOURS} | \
        {(ACCESSIBILITY, "Flags"): query(ACCESSIBILITY, "Flags")} | \
        {(k, "LogPixels"): query(k, "LogPixels") for k in DPI_KEYS}


def set_display(dpi, contrast, saved):
    """The display scale and high contrast (else the prefix's own colours, `saved`) for the
    next wineserver, which this one makes way for."""
    for key in DPI_KEYS:
        reg("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi))
    if contrast:
        reg("add", ACCESSIBILITY, "/v", "Flags", "/t", "REG_SZ", "/d", "127")
        for name, value in CONTRAST_COLOURS.items():
            reg("add", COLOURS, "/v", name, "/t", "REG_SZ", "/d", value)
    else:
        for (key, name), value in saved.items():
            if name == "LogPixels":
                continue
            if value is None:
                reg("delete", key, "/v", name)
            else:
                reg("add", key, "/v", name, "/t", "REG_SZ", "/d", value)
    subprocess.run(["wineserver", "-w"], check=False)


def restore_display(saved):
    set_display(96, False, saved)
    for (key, name), value in saved.items():
        if name == "LogPixels" and value is None:
            reg("delete", key, "/v", name)


def demo_params(port):
    """The unchanged demo scenario's server and user."""
    return ["strIpAddr=127.0.0.1", f"iHttpPort={port}", "strUserID=demo", "strUserPWD=demo"]


def host(bin_dir, work, name, port, size):
    """pelhost with the control against the server: its window tree and a shot."""
    report = os.path.join(work, name + ".txt")
    shot = os.path.join(work, name + ".bmp")
    subprocess.run(["wine", os.path.join(bin_dir, "pelhost.exe"), "--test", "--out",
                    winpath(report), "--dll", winpath(os.path.join(bin_dir, "Pelioran.ocx")),
                    "--size", size] + sum((["--param", p] for p in demo_params(port)), []) +
                   ["--wait", "800", "--windows", "--shot", winpath(shot), CONTROL],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                   check=False)
    lines = open(report, encoding="latin-1").read().splitlines() \
        if os.path.exists(report) else []
    return lines, shot


def windows(lines):
    """(class, id) -> (x, y, w, h, visible) of the control's window tree."""
    found = {}
    for line in lines:
        f = line.split("\t")
        if f[0] == "window" and len(f) >= 7:
            found[(f[2], int(f[3]))] = tuple(int(v) for v in f[4].split(",")) + (f[5] == "1",)
    return found


def pane_crop(shot, tree, dpi, out):
    """The pane's drawn part of a shot (down to below the version text) as a PNG."""
    x, y, w, h, _ = tree[(PANE_CLASS, 0xE900)]
    h = min(h, scaled(440, dpi))
    subprocess.run(["/usr/bin/convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "+repage", out],
                   check=False)
    return out


def same_as_reference(png, name):
    ref = os.path.join(HERE, "reference", name + ".png")
    if os.environ.get("PEL_UPDATE_REFERENCES") == "1":
        shutil.copyfile(png, ref)
    if not os.path.exists(ref):
        return check(False, f"{name}: reference {ref} exists")
    diff = subprocess.run(["/usr/bin/compare", "-metric", "AE", "-fuzz", "3%", ref, png,
                           png + ".diff.png"], capture_output=True, text=True).stderr.strip()
    return check(diff.isdigit() and int(diff) <= 20,
                 f"{name}: the pane looks as its reference ({diff} pixels differ)")


def scaled(value, dpi):
    return (value * dpi + 48) // 96


def check_scaled(base, tree, dpi):
    """The pane's visible buttons and the pane itself: each edge at the scale of the 96-DPI
    one (within a pixel of rounding)."""
    buttons = [k for k, v in base.items() if k[0] == "Button" and 3000 <= k[1] <= 3019 and v[4]]
    check(len(buttons) >= 15, f"{len(buttons)} visible buttons at 96 DPI")
    for key in buttons + [(PANE_CLASS, 0xE900)]:
        x, y, w, h, _ = base[key]
        got = tree.get(key)
        want = (scaled(x, dpi), scaled(y, dpi), scaled(x + w, dpi) - scaled(x, dpi),
                scaled(y + h, dpi) - scaled(y, dpi))
        if not check(got is not None and all(abs(a - b) <= 1 for a, b in zip(got, want)),
                     f"{key} at {dpi} DPI: {got and got[:4]} is {want}"):
            break


def scale_and_contrast(bin_dir, work, arch, port):
    """The three runs against the demo server at `port` and their checks; the display is set
    back as it was at the end."""
    docs = os.environ.get("PEL_DOCS_DIR")
    saved = saved_display()
    try:
        runs = {}
        for name, dpi, contrast, size in (("base", 96, False, "1290x710"),
                                           ("dpi144", 144, False, "1935x1065"),
                                           ("contrast", 96, True, "1290x710")):
            set_display(dpi, contrast, saved)
            lines, shot = host(bin_dir, work, name, port, size)
            tree = windows(lines)
            check((PANE_CLASS, 0xE900) in tree, f"{name}: the pane is there")
            check([l for l in lines if l.startswith("msgbox")] == [], f"{name}: no message box")
            runs[name] = tree, shot
    finally:
        restore_display(saved)
    base = runs["base"][0]
    if (PANE_CLASS, 0xE900) not in base:
        return
    check_scaled(base, runs["dpi144"][0], 144)
    for name in ("dpi144", "contrast"):
        tree, shot = runs[name]
        if (PANE_CLASS, 0xE900) not in tree:
            continue
        png = pane_crop(shot, tree, 144 if name == "dpi144" else 96,
                        os.path.join(work, name + ".png"))
        same_as_reference(png, f"pane_{name}_{arch}")
        if docs:
            shutil.copyfile(png, os.path.join(docs, f"pane-{name}.png"))
