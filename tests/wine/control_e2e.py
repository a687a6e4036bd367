#!/usr/bin/env python3
"""wine.control: the control's start sequence and its pane against kvsim, hosted in pelhost
under Wine, with the stand-in components. Run by control.sh (display, prefix, registration).

    control_e2e.py BIN WORK ARCH KVSIM [PEERS_ENV [FAMILY]]

FAMILY is the family of components registered: "standins" (default, every case) or "strict"
(PelStrict.dll, wine.control.strict): the cases of the start, the camera commands, the pane's
modes, the viewer's events, the picture widths, a snapshot and the voice component with the
same checks, then what only the strict components tell: no call refused for its types, the
viewer and the panel placed through SetObjectRects with the site in step, no window moved
behind a component's back, and their events received.
"""
import os
import re
import socket
import subprocess
import sys
import time

from kvsim_control import Kvsim
from wine_suite import check, finish, linux_path, message_boxes, regsvr32, take_log, winpath

BIN, WORK, ARCH, KVSIM = sys.argv[1:5]
PEERS_ENV = sys.argv[5] if len(sys.argv) > 5 else ""
FAMILY = sys.argv[6] if len(sys.argv) > 6 else "standins"
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTROL = "{FE4F5263-11D5-4724-95BA-A978983B6369}"
PANE_ID = 59648
VIEWER_ID = 206
MODULE_LIST_ID = 3018
BUTTON = {"cam": 3000, "ptz": 3001, "all": 3008, "none": 3009, "sequence": 3010, "pause": 3011,
          "1x": 3013, "2x": 3014, "voice": 3015}
BUTTON.update({f"cam{n}": 3001 + n for n in range(1, 7)})

# What the module set-up asks of the viewer, in order, for a module of six cameras of which
# camera 1 is shown first.
MODULE_SETUP_CALLS = (
    [f"strCamName{n}" for n in range(1, 7)] + ["strServerAddr"] +
    [f"bViewOption{n}" for n in range(1, 7)] + ["iViewOption7", "bViewOption8"] +
    [f"bShowCam{n}" for n in range(1, 7)] + [f"bConnectCam{n}" for n in range(1, 7)] +
    ["bSequence", "bShowCam1", "SelectCamera", "iServerId", "strUserName", "strPassword",
     "iServerPort", "strProxyAddr", "iProxyPort", "strServerAddr", "GetServerTag"])

# Every component log line of the run, for the checks over the whole run.
whole_log = []


# ---- pelhost

def host(name, *args, params=(), url=None, env=None):
    report = os.path.join(WORK, name + ".txt")
    command = ["wine", os.path.join(BIN, "pelhost.exe"), "--test", "--out", winpath(report),
               "--dll", winpath(os.path.join(BIN, "Pelioran.ocx"))]
    if url:
        command += ["--url", url]
    for p in params:
        command += ["--param", p]
    command += list(args) + [CONTROL]
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            timeout=240, env={**os.environ, **(env or {})}).returncode
    lines = open(report, encoding="latin-1").read().splitlines() if os.path.exists(report) else []
    check(status == 0 and lines[-1:] == ["done"], f"{name}: pelhost ran to the end (exit {status})")
    return lines


def windows(lines, child_id):
    """The window lines of the control's children with this ID, as (x, y, w, h, visible)."""
    found = []
    for line in lines:
        f = line.split("\t")
        if f[0] == "window" and f[1] != "0" and int(f[3]) == child_id:
            x, y, w, h = map(int, f[4].split(","))
            found.append((x, y, w, h, f[5] == "1"))
    return found


def messages(lines):
    return [texts for _, texts in message_boxes(lines)]


def standin_log():
    fields = take_log(os.path.join(WORK, "standins.log"))
    whole_log.extend(fields)
    return fields


def puts(log, component, name):
    return [f[4] for f in log if f[0] == component and f[2] == name and f[3] == "put"]


def demo_params(port, *extra):
    return [f"strIpAddr=127.0.0.1", f"iHttpPort={port}", "strUserID=demo", "strUserPWD=demo",
            *extra]


# ---- the cases

def start_sequence(kv, port):
    standin_log()
    lines = host("start", "--wait", "300", "--windows", "--get", "iOperPaneCtls",
                 "--select", f"{MODULE_LIST_ID}:1", "--wait", "300", "--windows",
                 "--get", "iSvrID", params=demo_params(port))
    log = standin_log()
    check(messages(lines) == [], "start: no message box")
    panes = windows(lines, PANE_ID)
    check(len(panes) == 2 and panes[0] == (10, 10, 180, 700, True),
          f"start: the pane is child 0xE900 at (10,10) 180 x 700 ({panes[:1]})")
    viewers = windows(lines, VIEWER_ID)
    check(len(viewers) == 2 and viewers[0] == (207, 10, 716, 544, True),
          f"start: module 0 (480 lines): the viewer is child 206 at (207,10) 716 x 544 ({viewers[:1]})")
    check(viewers[1:] == [(207, 10, 716, 640, True)],
          f"start: module 1 (576 lines): the viewer is 716 x 640 ({viewers[1:]})")
    check("get\tiSvrID\t1" in lines, "start: the module list chose module 1")
    # 0x3 (two modules) | six permitted cameras 0xFC | 0x1300 | 0x7EC00
    check("get\tiOperPaneCtls\t524287" in lines, "start: iOperPaneCtls from the module set-up")
    # The module set-up's calls reach the viewer in their order.
    viewer_names = [f[2] for f in log if f[0] == "viewer" and f[3] in ("put", "call")]
    names = puts(log, "viewer", "strCamName1")
    check(names[:1] == ["Front Entrance"] and names[-1:] == ["Gate North"] if len(names) > 1
          else False, f"start: camera titles of module 0, then module 1 ({names})")
    # Module 0's set-up, call by call, up to its server tag.
    setup = viewer_names[: viewer_names.index("GetServerTag") + 1] \
        if "GetServerTag" in viewer_names else viewer_names
    check(setup == MODULE_SETUP_CALLS, f"start: the viewer's calls in the module set-up's order ({setup})")
    requests = kv.requests(port)
    firsts = [r.split("\r\n")[0] for r in requests]
    check(firsts == [f"GET http://127.0.0.1:{port}/asp-get/kvsvrinf.asp HTTP/1.1",
                     f"GET http://127.0.0.1:{port}/asp-get/kvmodinf.asp?KvModId=0 HTTP/1.1",
                     f"GET http://127.0.0.1:{port}/asp-get/kvmodinf.asp?KvModId=1 HTTP/1.1"],
          f"start: the server page, then modules 0 and 1 ({firsts})")
    check(not any("\r\nVia:" in r for r in requests), "start: straight to the server")


def camera_commands(port):
    standin_log()
    lines = host("cameras", "--wait", "300",
                 "--click", str(BUTTON["all"]), "--wait", "200", "--windows",
                 "--click", str(BUTTON["none"]), "--wait", "200",
                 "--click", str(BUTTON["cam2"]), "--wait", "200",
                 "--click", str(BUTTON["cam3"]), "--wait", "200", "--windows",
                 "--click", str(BUTTON["2x"]), "--wait", "200", "--windows",
                 "--click", str(BUTTON["1x"]), "--wait", "200", "--windows",
                 params=demo_params(port))
    log = standin_log()
    open(os.path.join(WORK, "cameras.log"), "w").write("\n".join("\t".join(f) for f in log))
    check(messages(lines) == [], f"cameras: no message box ({messages(lines)})")
    widths = [v[2] for v in windows(lines, VIEWER_ID)]
    check(widths == [1074, 716, 716, 716],
          f"cameras: viewer widths after All, Cam2+Cam3, 2x, 1x ({widths})")

    def last_shown(n):
        values = puts(log, "viewer", f"bShowCam{n}")
        return values[-1] if values else None

    # All: every camera shown; None, Cam2, Cam3: those two.
    for n in range(1, 7):
        check("TRUE" in puts(log, "viewer", f"bShowCam{n}"), f"cameras: All shows camera {n}")
    scales = [(f[2], f[4]) for f in log if f[0] == "viewer" and f[2].startswith("dScaleCam")]
    # 2x shows the selected camera (2, the lowest shown) alone, then doubles every camera whose
    # picture is neither 704 nor 640 wide: here all six report 352.
    puts_in_order = [(f[2], f[4]) for f in log if f[0] == "viewer" and f[3] == "put"]
    doubled = [k for k, (name, value) in enumerate(puts_in_order)
               if name.startswith("dScaleCam") and float(value) == 2.0]
    check([puts_in_order[k][0] for k in doubled] == [f"dScaleCam{n}" for n in range(1, 7)] and
          doubled == list(range(doubled[0], doubled[0] + 6)),
          f"cameras: 2x puts 2.0 into the scale of all six cameras at once "
          f"({[puts_in_order[k] for k in doubled]})")
    before = [p for p in puts_in_order[:doubled[0] if doubled else 0] if p[0].startswith("bShowCam")]
    check(before[-6:] == [(f"bShowCam{n}", "TRUE" if n == 2 else "FALSE") for n in range(1, 7)],
          f"cameras: 2x first shows the selected camera 2 alone ({before[-6:]})")
    check(len(scales) >= 6 and
          scales[-6:] == [(f"dScaleCam{n}", scales[-1][1]) for n in range(1, 7)] and
          scales[-1][1].startswith("1"), f"cameras: 1x puts every scale back to 1 ({scales[-6:]})")
    check([last_shown(n) for n in (1, 2, 3)] == ["FALSE", "TRUE", "TRUE"],
          "cameras: 1x restores the cameras latched before 2x (2 and 3)")


def pane_modes(port):
    standin_log()
    lines = host("modes", "--wait", "300", "--click", str(BUTTON["ptz"]), "--wait", "200",
                 "--windows", "--click", str(BUTTON["cam"]), "--wait", "200", "--windows",
                 params=demo_params(port))
    log = standin_log()
    panel = windows(lines, 209)
    cam1 = windows(lines, BUTTON["cam1"])
    modules = windows(lines, MODULE_LIST_ID)
    check([p[4] for p in panel] == [True, False] and panel[0][:4] == (0, 24, 164, 394),
          f"modes: PTZ shows the panel at (0,24) 164 x 394, CAM hides it ({panel})")
    check([c[4] for c in cam1] == [False, True] and [m[4] for m in modules] == [False, True],
          f"modes: PTZ hides the camera controls and the lists, CAM brings them back")
    check(cam1[1][:4] == (10, 88, 72, 24) if len(cam1) > 1 else False,
          f"modes: Cam1 back in its grid cell ({cam1[1:]})")
    uart = [(f[2], f[4]) for f in log if f[0] == "uart" and f[3] == "call" and f[2] == "EnablePtz"]
    check(uart[-1:] == [("EnablePtz", "TRUE")], f"modes: PTZ aims the panel at camera 1 ({uart})")


def viewer_events(port):
    standin_log()
    # The tiles of cameras 2 and 3 (second and third of the 352-wide grid) after All.
    lines = host("events", "--wait", "300", "--click", str(BUTTON["all"]), "--wait", "300",
                 "--click-at", "600,100", "--wait", "300", "--click-at", "1000,100",
                 "--wait", "300", params=demo_params(port))
    log = standin_log()
    fired = [(i, f[4].split(",")[0]) for i, f in enumerate(log)
             if f[0] == "viewer" and f[1] == "3" and f[3] == "event"]
    check([camera for _, camera in fired] == ["2", "3"],
          f"events: the viewer fired cameras 2 and 3 selected ({fired})")
    # Camera 2 has a PTZ unit and the right to steer it: the panel is enabled and aimed at it;
    # camera 3 has none: the panel is disabled and nothing else is asked of it.
    bounds = [i for i, _ in fired] + [len(log)]
    panel = [[(f[2], f[3], f[4]) for f in log[a:b] if f[0] == "uart" and f[3] in ("put", "call")]
             for a, b in zip(bounds, bounds[1:])]
    check(panel[:1] == [[("EnablePtz", "call", "TRUE"), ("iChannel", "put", "1"),
                         ("ApplySettings", "call", ""), ("RefreshPanel", "call", "")]],
          f"events: camera 2 enables the PTZ panel and aims it at channel 1 ({panel[:1]})")
    check(panel[1:] == [[("EnablePtz", "call", "FALSE")]],
          f"events: camera 3, without PTZ, disables the panel ({panel[1:]})")
    check(messages(lines) == [], "events: no message box")


def picture_width_layout(port):
    standin_log()
    # Pictures 704 wide: the width event reaches the control's table, so 2x shows the camera
    # without scaling; the event posts one layout, run after the event call has returned.
    host("width", "--wait", "500", "--click", str(BUTTON["2x"]), "--wait", "200",
         params=demo_params(port), env={"PEL_STANDIN_PICTURE_WIDTH": "704"})
    log = standin_log()
    events = [i for i, f in enumerate(log) if f[0] == "viewer" and f[1] == "7" and f[3] == "event"]
    check(len(events) == 1 and log[events[0]][4].startswith("1,704,"),
          f"width: the viewer reported camera 1's width 704 ({[log[i][4] for i in events]})")
    if events:
        after = log[events[0] + 1:]
        clicked = [i for i, f in enumerate(after) if f[2] == "dScaleCam1" or f[2].startswith("dScale")]
        until = clicked[0] if clicked else len(after)
        layouts = [f for f in after[:until] if f[0] == "viewer" and f[2] == "bSequence" and
                   f[3] == "get"]
        check(len(layouts) == 1, f"width: one layout follows the event ({len(layouts)})")
    doubled = [f[2] for f in log if f[0] == "viewer" and f[2].startswith("dScaleCam") and
               f[4].startswith("2")]
    # Only camera 1 reported a width; the others keep the 352 they started with.
    check(doubled == [f"dScaleCam{n}" for n in range(2, 7)],
          f"width: 2x scales every camera but the 704-wide one ({doubled})")


SNAPSHOT_KINDS = ((0, "jpg", b"\xff\xd8\xff"), (1, "bmp", b"BM"))


def snapshots(port, kinds=SNAPSHOT_KINDS, hostile=True):
    import glob
    import shutil
    for old in glob.glob(os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", "*",
                                      "AppData", "LocalLow", "Norvane Works")):
        shutil.rmtree(old)
    folder = re.escape("\\AppData\\LocalLow\\Norvane Works\\Pelioran\\")
    for codec, ext, magic in kinds:
        lines = host(f"snap-{ext}", "--wait", "300", "--click", "3012", "--wait", "300",
                     params=demo_params(port), env={"PEL_STANDIN_CODEC_TYPE": str(codec)})
        saved = [m[: -len(" is saved.")] for m in messages(lines) if m.endswith(" is saved.")]
        if not check(len(saved) == 1, f"snap {ext}: one saved message ({messages(lines)})"):
            continue
        pattern = (r"C:\\users\\[^\\]+" + folder + re.escape(f"127.0.0.1-{port}") +
                   r"\\\d{8}_\d{2}h\d{2}m\d{2}s_cam1\." + ext)
        check(re.fullmatch(pattern, saved[0]) is not None,
              f"snap {ext}: named by time and camera in the server's folder ({saved[0]})")
        data = open(linux_path(saved[0]), "rb").read() if os.path.exists(linux_path(saved[0])) \
            else b""
        check(data.startswith(magic), f"snap {ext}: the viewer's picture bytes ({len(data)} bytes)")
        size = subprocess.run(["/usr/bin/identify", "-format", "%w", linux_path(saved[0])],
                              capture_output=True, text=True).stdout
        check(size == "352", f"snap {ext}: a whole 352-wide picture ({size})")
    if not hostile:
        return
    # A server tag that tries to climb out of the snapshot folder stays inside it.
    lines = host("snap-hostile", "--wait", "300", "--click", "3012", "--wait", "300",
                 params=demo_params(port),
                 env={"PEL_STANDIN_SERVER_TAG": "..\\..\\..\\Windows:1"})
    saved = [m[: -len(" is saved.")] for m in messages(lines) if m.endswith(" is saved.")]
    inside = saved and re.fullmatch(r"C:\\users\\[^\\]+" + folder + r"[^\\]+\\[^\\]+\.jpg",
                                    saved[0]) and ".." not in saved[0].split("\\")
    check(bool(inside), f"snap: a hostile server tag stays inside the folder ({saved})")


def scenario_variant(kv, name, replacements):
    """The demo server with user root (the one the audio dialog serves) and some changes."""
    text = open(os.path.join(ROOT, "tools", "kvsim", "demo.scenario")).read()
    text = text.replace("auth demo:demo", "auth root:kv").replace("user demo:demo", "user root:kv")
    for old, new in replacements:
        assert old in text, old
        text = text.replace(old, new)
    path = os.path.join(WORK, name + ".scenario")
    open(path, "w").write(text)
    return kv.load(path)


def root_params(port):
    return [f"strIpAddr=127.0.0.1", f"iHttpPort={port}", "strUserID=root", "strUserPWD=kv"]


def dialog_lines(lines):
    """Per --dialogs action: the list of its window lines."""
    groups = []
    for line in lines:
        if line.startswith("dialogs\t"):
            groups.append([])
        elif line.startswith("window\t") and groups and line.split("\t")[1] == "0" and \
                not line.split("\t")[2].startswith("Pel"):
            groups[-1].append(line)
        elif line.startswith("window\t") and groups and groups[-1]:
            groups[-1].append(line)
    return groups


def child(group, child_id):
    for line in group:
        f = line.split("\t")
        if f[1] == "1" and int(f[3]) == child_id:
            return f
    return None


def pane_dialogs(kv):
    port = scenario_variant(kv, "audio", [])
    # Voice opens Audio Connection (device type 1); a second press opens nothing; Escape ends
    # it; Voice opens it again. Connect without sound devices under Wine gives its message.
    lines = host("audio-dialog", "--wait", "300", "--click", "3015", "--wait", "200", "--dialogs",
                 "--click", "3015", "--wait", "200", "--dialogs",
                 "--key", "Audio Connection:27", "--wait", "200", "--dialogs",
                 "--click", "3015", "--wait", "200", "--dialogs",
                 params=root_params(port))
    groups = dialog_lines(lines)
    counts = [l for l in lines if l.startswith("dialogs\t")]
    check(counts == ["dialogs\t1", "dialogs\t1", "dialogs\t0", "dialogs\t1"],
          f"audio dialog: opened, not twice, closed by Escape, opened again ({counts})")
    check([l for l in lines if l.startswith("opened\t")] == ["opened\tAudio Connection"] * 2,
          "audio dialog: reported as a modeless window")
    first = groups[0] if groups else []
    title = first[0].split("\t")[7] if first else ""
    check(title == "Audio Connection", f"audio dialog: its caption ({title})")
    expected = {245: "Connect", 246: "Disconnect", 1: "EXIT", 249: "TCP", 250: "UDP"}
    for cid, text in expected.items():
        f = child(first, cid)
        check(f is not None and f[7] == text, f"audio dialog: control {cid} reads {text!r}")
    disconnect = child(first, 246)
    check(disconnect is not None and disconnect[6] == "0", "audio dialog: Disconnect starts disabled")
    at = first[0].split("\t")[4] if first else ""
    check(at.startswith("0,0,"), f"audio dialog: placed at (0,0) ({at})")

    relay = scenario_variant(kv, "relay", [])
    before = len(kv.requests(relay))
    lines = host("relay-dialog", "--wait", "300", "--click", "3016", "--wait", "300", "--dialogs",
                 "--check", "Relay Output Control:203", "--check", "Relay Output Control:204",
                 "--dialog-click", "Relay Output Control:204", "--wait", "300",
                 "--key", "Relay Output Control:27", "--wait", "200", "--dialogs",
                 params=root_params(relay))
    groups = dialog_lines(lines)
    first = groups[0] if groups else []
    names = [(child(first, 203 + k) or [""] * 8)[7] for k in range(6)]
    check(names[:4] == ["Door Lock", "Siren", "Floodlight", "Barrier"],
          f"relay dialog: the outputs' names ({names})")
    hidden = [(child(first, 203 + k) or [""] * 8)[5] for k in range(4, 6)]
    check(hidden == ["0", "0"], f"relay dialog: outputs 5 and 6 of a 4-output module are hidden ({hidden})")
    check("check\tRelay Output Control:203\t1" in lines and
          "check\tRelay Output Control:204\t0" in lines, "relay dialog: the outputs' states")
    sent = [r.split("\r\n")[0] for r in kv.requests(relay)[before:] if "kvdoctr.cgi" in r]
    check(any("DoData=0x07" in r and "ServerId=0" in r for r in sent),
          f"relay dialog: a click sends the new output word ({sent})")
    check([l for l in lines if l.startswith("dialogs\t")][-1:] == ["dialogs\t0"],
          "relay dialog: Escape ends it")
    return voice_dialog(kv)


def voice_dialog(kv):
    voice = scenario_variant(kv, "voice", [("AUDIODEVICETYPE=1", "AUDIODEVICETYPE=0"),
                                           ('TTYS1_MODE="none"', 'TTYS1_MODE="audio"')])
    lines = host("voice-dialog", "--wait", "300", "--click", "3015", "--wait", "300",
                 "--dialog-click", "Voice Connection:214", "--wait", "300", "--dialogs",
                 params=root_params(voice))
    groups = dialog_lines(lines)
    status = child(groups[0], 213) if groups and groups[0] else None
    check("opened\tVoice Connection" in lines, "voice dialog: opened by Voice for device type 0")
    connected = [g for g in groups for l in g if l.split("\t")[7:] == ["Connected"]]
    check(len(connected) == 1, f"voice dialog: the component's status event shows Connected ({status})")
    return voice


def voice_download(kv, voice):
    # Without the voice component the Download dialog offers it.
    lines = host("download", "--wait", "300", "--click", "3015", "--wait", "500",
                 params=root_params(voice), env={"PEL_STANDIN_ABSENT": "voice"})
    boxes = message_boxes(lines)
    check(len(boxes) == 1 and boxes[0][0] == "Download" and boxes[0][1].startswith(
        "- There is no Voice kit on your PC or you need new version. | "
        "- Insert CD or download and install Voice kit."),
        f"download: the Download dialog with its texts ({boxes})")
    check("opened\tVoice Connection" not in lines, "download: no Voice Connection dialog")


def regsvr(dll, unregister=False):
    return regsvr32(ARCH, os.path.join(BIN, dll), unregister)


def without_standins(port):
    regsvr("PelStandins.dll", unregister=True)
    try:
        lines = host("nostandins", "--wait", "300", "--click", str(BUTTON["all"]),
                     "--click", str(BUTTON["2x"]), "--click", str(BUTTON["ptz"]), "--wait", "200",
                     "--windows", "--get", "iSvrID", params=demo_params(port))
        check(windows(lines, PANE_ID)[:1] == [(10, 10, 180, 700, True)],
              "no stand-ins: the pane is there")
        check(windows(lines, VIEWER_ID) == [], "no stand-ins: no viewer window")
        check("get\tiSvrID\t0" in lines, "no stand-ins: the first module was set up")
    finally:
        regsvr("PelStandins.dll")


def refused_during_sequence(name):
    return f'\\"{name}\\" does not work while \\"Sequence\\" is working.'


def sequence_and_pause(port):
    """Sequence on and off with camera clicks refused meanwhile, Pause and Play; then the About
    box through IDispatch and the property page through the properties verb (the frame finds
    the page's class in the registry: the control is registered for this case only)."""
    standin_log()
    if not check(regsvr("Pelioran.ocx"), "sequence: the control registered"):
        return
    try:
        lines = host("sequence", "--wait", "300",
                     "--click", str(BUTTON["sequence"]), "--wait", "200",
                     "--click", str(BUTTON["cam2"]), "--wait", "200",
                     "--click", str(BUTTON["cam1"]), "--wait", "200",
                     "--click", str(BUTTON["sequence"]), "--wait", "200",
                     "--click", str(BUTTON["pause"]), "--wait", "200",
                     "--click", str(BUTTON["pause"]), "--wait", "200",
                     "--call", "AboutBox", "--verb", "-7", params=demo_params(port))
    finally:
        check(regsvr("Pelioran.ocx", unregister=True), "sequence: the control unregistered")
    log = standin_log()
    boxes = message_boxes(lines)
    texts = [box[1] for box in boxes]
    # Cam2 (off) is refused on its press, Cam1 (on) keeps its latch on its release: each
    # says so.
    check(texts[:2] == [refused_during_sequence("Cam2"), refused_during_sequence("Cam1")],
          f"sequence: a camera click during the sequence is refused with its message ({texts[:2]})")
    # The viewer cycles by itself: Sequence only switches bSequence; Pause hides every camera,
    # Play shows again exactly the latched ones: camera 1, still on, and not camera 2.
    viewer = [(f[2], f[4]) for f in log if f[0] == "viewer" and f[3] in ("put", "call")]
    first = viewer.index(("bSequence", "TRUE")) if ("bSequence", "TRUE") in viewer else 0
    check(viewer[first:] == [("bSequence", "TRUE"), ("bSequence", "FALSE")] +
          [(f"bShowCam{n}", "FALSE") for n in range(1, 7)] + [("bShowCam1", "TRUE")],
          f"sequence: the viewer gets bSequence TRUE, nothing while the clicks are refused, "
          f"then FALSE, Pause hides all six, Play shows camera 1 again ({viewer[first:]})")
    check(boxes[2:3] == [["About Pelioran Control",
                          "Pelioran Control, Version 1.0 | Copyright (C) Norvane Works"]] and
          "call\tAboutBox\t0x00000000\t" in lines,
          f"about: AboutBox through IDispatch shows the About box ({boxes[2:3]})")
    page = "TODO: Place controls to manipulate properties of Pelioran Control on this dialog."
    check(len(boxes) == 4 and "Pelioran Control" in boxes[3][0] and boxes[3][1] == page and
          "verb\t-7\t0x00000000" in lines,
          f"properties: the verb shows the property page in its frame ({boxes[3:]})")


def bad_proxy(kv, port):
    """A page whose explicit proxy holds no address: the message, no proxy, the start goes on."""
    before = len(kv.requests(port))
    lines = host("badproxy", "--wait", "300", "--get", "strIpAddrProxy",
                 params=demo_params(port, "strIpAddrProxy=http://"),
                 url=f"http://127.0.0.1:{port}/index.html")
    check(messages(lines) == ["Bad Web Proxy URL format"],
          f"bad proxy: its message from the control ({messages(lines)})")
    check("get\tstrIpAddrProxy\t" in lines, "bad proxy: strIpAddrProxy emptied")
    new = [r.split("\r\n")[0] for r in kv.requests(port)[before:]]
    check(new[:1] == [f"GET http://127.0.0.1:{port}/asp-get/kvsvrinf.asp HTTP/1.1"] and
          not any("\r\nVia:" in r for r in kv.requests(port)[before:]),
          f"bad proxy: the start goes on, straight to the server ({new[:2]})")


def jes_header(mode, server_id, total):
    """An audio packet's header as the protocol describes it."""
    return (bytes([0x90 | mode, 0x58, 0xFF, 0xFE, 0, 56]) + b"Kelvanter" + bytes(7) +
            bytes([0, 1, 0x10, 0, 0, 0]) + server_id.to_bytes(2, "big") + bytes([0, 1]) +
            bytes(13) + b"\xff" + bytes(2) + total.to_bytes(4, "big") +
            bytes([0, 0x30, 0xDF, 0, 0, 0]) + bytes(2))


def login_record(user, password):
    return (bytes([0x7E, 6, 0, 0]) + user.encode().ljust(32, b"\0") +
            password.encode().ljust(32, b"\0"))


def audio_connect(kv):
    """The pane's own Audio Connection dialog against kvsim's audio port, over pulseaudio's
    null devices (control.sh): with no camera shown Connect is refused; with camera 2 it logs
    in as the control's user (a limited server), sends the capture in packets stamped with the
    live control's server number (module 1) and switches the viewer's own audio off, then on
    again at Disconnect."""
    runtime = os.environ.get("PEL_PULSE_RUNTIME", "")
    if not check(runtime != "", "audio: pulseaudio runs for the test"):
        return
    # The server page must name the audio port of a scenario loaded before it.
    audio = scenario_variant(kv, "audio-port", [])
    udp = kv.udp_ports.get(audio)
    port = scenario_variant(kv, "audio-connect", [("UDPPORT=32001", f"UDPPORT={udp}")])
    standin_log()
    title = "Audio Connection"
    lines = host("audio-connect", "--wait", "300", "--select", f"{MODULE_LIST_ID}:1",
                 "--wait", "300", "--click", str(BUTTON["none"]), "--wait", "200",
                 "--click", str(BUTTON["voice"]), "--wait", "200",
                 "--dialog-click", f"{title}:250", "--dialog-click", f"{title}:245",
                 "--wait", "200", "--click", str(BUTTON["cam2"]), "--wait", "200",
                 "--dialog-click", f"{title}:245", "--wait", "1800", "--dialogs",
                 "--dialog-click", f"{title}:246", "--wait", "300", "--dialogs",
                 params=root_params(port), env={"XDG_RUNTIME_DIR": runtime})
    log = standin_log()
    check(messages(lines) == ["Invalid parameter input. Check port."],
          f"audio: Connect with no camera shown is refused ({messages(lines)})")
    statuses = [(child(g, 213) or [""] * 8)[7] for g in dialog_lines(lines)]
    check(statuses == ["Connected", "Disconnected"],
          f"audio: Connected, then Disconnected ({statuses})")
    stream = [f[4] for f in log if f[0] == "viewer" and f[2] == "EnableStreamAudio"]
    check(stream == ["0", "1"],
          f"audio: the viewer's own audio off while connected over UDP, on after ({stream})")
    got = kv.datagrams(audio)
    packets = got[1:-1]
    check(got[:1] == [login_record("root", "kv")] and got[-1:] == [bytes([0x7E, 3]) + bytes(66)],
          f"audio: one login as the control's user, then the logout ({[g[:8] for g in got]})")
    header = jes_header(1, 1, 3132)
    check(len(packets) >= 1 and all(len(p) == 3132 and p[:60] == header for p in packets),
          f"audio: G.726 packets stamped with server 1 ({[(len(p), p[:60].hex()) for p in packets]})")


def failures_reported(kv):
    free = socket.socket()
    free.bind(("127.0.0.1", 0))
    closed_port = free.getsockname()[1]
    free.close()
    lines = host("unreachable", "--wait", "200", params=[f"strIpAddr=127.0.0.1",
                                                         f"iHttpPort={closed_port}"])
    check(any("GetAspWp" in m and "read failed." in m for m in messages(lines)),
          f"unreachable: the page read failure is reported ({messages(lines)})")
    lines = host("badaddress", "--wait", "200", params=["strIpAddr=http://bad host/",
                                                        "iHttpPort=80"],
                 url="http://127.0.0.1:9/view.html")
    check(messages(lines)[:1] == ["Bad URL format"],
          f"bad address: its message ({messages(lines)})")


def browser_page(kv, port):
    # As a page of the server: an empty strIpAddr means the page's own host.
    lines = host("browser", "--wait", "300", "--get", "strIpAddr",
                 params=[f"iHttpPort={port}", "strUserID=demo", "strUserPWD=demo"],
                 url=f"http://127.0.0.1:{port}/index.html")
    check("get\tstrIpAddr\t127.0.0.1" in lines, "browser: the page's host is the server")
    check(messages(lines) == [], f"browser: no message box ({messages(lines)})")


def browser_proxy(kv, port):
    proxy = ""
    if PEERS_ENV and os.path.exists(PEERS_ENV):
        for line in open(PEERS_ENV):
            if line.startswith("PROXY_PORT="):
                proxy = line.strip().split("=", 1)[1]
    if not check(proxy != "", "proxy: tinyproxy runs for the tests"):
        return
    key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
    reg = lambda *a: subprocess.run(["wine", "reg", *a], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
    reg("add", key, "/v", "ProxyEnable", "/t", "REG_DWORD", "/d", "1", "/f")
    reg("add", key, "/v", "ProxyServer", "/d", f"ftp=127.0.0.1:9;http=127.0.0.1:{proxy}", "/f")
    try:
        before = len(kv.requests(port))
        lines = host("proxy", "--wait", "300", "--get", "strIpAddrProxy", "--get",
                     "iHttpPortProxy", params=demo_params(port),
                     url=f"http://127.0.0.1:{port}/index.html")
        check("get\tstrIpAddrProxy\t127.0.0.1" in lines and
              f"get\tiHttpPortProxy\t{proxy}" in lines,
              "proxy: the browser's http proxy became the control's")
        new = kv.requests(port)[before:]
        # tinyproxy names itself in a Via header of what it forwards.
        check(len(new) > 0 and all("\r\nVia:" in r for r in new),
              f"proxy: the pages came through the proxy ({[r.split(chr(13))[0] for r in new][:3]})")
    finally:
        reg("delete", key, "/v", "ProxyEnable", "/f")
        reg("delete", key, "/v", "ProxyServer", "/f")


def strict_checks():
    """What only the strict components tell, over the whole run. Their log has a sixth column
    (the arguments' VARTYPEs, or a note) and, besides calls and events, the kinds refused,
    delivered (an event's Invoke on a sink, with its HRESULT), site (GetWindowContext at
    activation, SetObjectRects, the site's rectangle right after it, foreign-move) and
    ambient."""
    refused = [(f[0], f[2] or f[1], f[4], f[5]) for f in whole_log if f[3:4] == ["refused"]]
    check(refused == [], f"strict: no call refused for its argument count or VARTYPEs ({refused[:5]})")
    # The places of the start case: the viewer at (207,10) 716 x 544, the panel at (0,24)
    # 164 x 394.
    for component, place in (("viewer", "207,10,923,554"), ("uart", "0,24,164,418")):
        site = [f for f in whole_log if f[0] == component and f[3:4] == ["site"]]
        placed = [k for k, f in enumerate(site) if f[2] == "SetObjectRects"]
        check(any(site[k][4] == place for k in placed),
              f"strict: the {component} placed at {place} through SetObjectRects "
              f"({[site[k][4] for k in placed][-4:]})")
        answers = [(site[k][4], site[k + 1][2:6] if k + 1 < len(site) else None) for k in placed]
        apart = [(rect, answer) for rect, answer in answers
                 if answer != ["GetWindowContext", "site", rect, "same"]]
        check(placed != [] and apart == [],
              f"strict: the {component}'s site answers GetWindowContext with the rectangle of "
              f"each SetObjectRects ({apart[:3]})")
    moved = [(f[0], f[4]) for f in whole_log if f[2:4] == ["foreign-move", "site"]]
    check(moved == [], f"strict: no component's window moved behind its back ({moved[:4]})")
    for component, dispid, what in (("viewer", "3", "camera selected"),
                                    ("viewer", "7", "picture width"),
                                    ("uart", "1", "SizeChanged"), ("voice", "1", "status")):
        # The sink's Invoke runs the control's handler, whose calls come before the answer.
        marks = [(k, f[3]) for k, f in enumerate(whole_log) if f[:2] == [component, dispid] and
                 f[3:4] in (["event"], ["delivered"])]
        fired = [k for k, (_, kind) in enumerate(marks) if kind == "event"]
        received = [k for k in fired if k + 1 < len(marks) and marks[k + 1][1] == "delivered" and
                    whole_log[marks[k + 1][0]][4] == "0x00000000"]
        check(fired != [] and received == fired,
              f"strict: the {component}'s event {dispid} ({what}) reached the control's sink "
              f"({len(received)} of {len(fired)})")


def strict_cases(kv, port):
    for case, args in ((start_sequence, (kv, port)), (camera_commands, (port,)),
                       (pane_modes, (port,)), (viewer_events, (port,)),
                       (picture_width_layout, (port,)),
                       # The strict viewer's pictures are BMP files, whichever method is asked.
                       (snapshots, (port, [k for k in SNAPSHOT_KINDS if k[1] == "bmp"], False)),
                       (voice_dialog, (kv,))):
        # A case cut short by what it found still leaves the others to run.
        try:
            case(*args)
        except (IndexError, ValueError, KeyError) as e:
            check(False, f"{case.__name__}: stopped by {type(e).__name__}: {e}")
    standin_log()
    with open(os.path.join(WORK, "components.log"), "w", encoding="latin-1") as out:
        out.write("".join("\t".join(f) + "\n" for f in whole_log))
    strict_checks()


def main():
    os.makedirs(WORK, exist_ok=True)
    kv = Kvsim(KVSIM, WORK)
    try:
        port = kv.load(os.path.join(ROOT, "tools", "kvsim", "demo.scenario"))
        if FAMILY == "strict":
            strict_cases(kv, port)
            return finish()
        start_sequence(kv, port)
        camera_commands(port)
        pane_modes(port)
        viewer_events(port)
        picture_width_layout(port)
        snapshots(port)
        voice = pane_dialogs(kv)
        voice_download(kv, voice)
        without_standins(port)
        failures_reported(kv)
        browser_page(kv, port)
        browser_proxy(kv, port)
        sequence_and_pause(port)
        bad_proxy(kv, port)
        audio_connect(kv)
    finally:
        kv.close()
    return finish()



if __name__ == "__main__":
    sys.exit(main())
