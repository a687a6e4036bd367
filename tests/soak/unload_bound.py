#!/usr/bin/env python3
"""soak.unload: the page closes while the audio dialog is connected (UDP, with playback) to an
audio server that accepted the login and answers nothing after it. The host must get its
window thread back within the bound: pelhost ends right after it destroys the control, so the
time from the logout (sent at the start of the destruction) to pelhost's end bounds how long
the destruction held the host. Without the hand-off it is at least the 5-second wait for the
receive thread.

    unload_bound.py BIN WORK KVSIM
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soakpeers import (Kvsim, SilentAudioServer, demo_params, demo_scenario,  # noqa: E402
                       pelhost)
from wine_suite import check, failures  # noqa: E402

BIN, WORK, KVSIM = sys.argv[1:4]
BOUND_SECONDS = 2.0
VOICE_BUTTON = 3015
DIALOG = "Audio Connection"
UDP_RADIO, CONNECT, STATUS = 250, 245, 213


def main():
    os.makedirs(WORK, exist_ok=True)
    kv = Kvsim(KVSIM, WORK)
    peer = SilentAudioServer()
    try:
        port = kv.load_text(demo_scenario(peer.port))
        status, lines, ended = pelhost(
            BIN, WORK, "unload",
            ["--wait", "500", "--click", str(VOICE_BUTTON), "--wait", "300",
             "--dialog-click", f"{DIALOG}:{UDP_RADIO}", "--dialog-click", f"{DIALOG}:{CONNECT}",
             "--wait", "1500", "--dialogs"],
            params=demo_params(port))
        check(status == 0 and lines[-1:] == ["done"], f"pelhost ran to the end (exit {status})")
        boxes = [l for l in lines if l.startswith("msgbox\t")]
        check(boxes == [], f"no message box ({boxes})")
        texts = [l.split("\t")[7] for l in lines
                 if l.startswith("window\t") and l.split("\t")[3] == str(STATUS)]
        check("Connected" in texts, f"the dialog was connected before the page closed ({texts})")
        check(len(peer.records(6)) == 1, "the server saw one login")
        check(len(peer.packets()) >= 1,
              f"the capture sent audio while connected ({len(peer.packets())} packets)")
        logouts = peer.records(3)
        if check(len(logouts) == 1, f"the logout was sent at the page's close ({len(logouts)})"):
            held = ended - logouts[0][0]
            print(f"figure: unload held the host {held:.3f} s after the logout", flush=True)
            check(held < BOUND_SECONDS, f"the host was back within {BOUND_SECONDS} s ({held:.3f} s)")
    finally:
        peer.close()
        kv.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
