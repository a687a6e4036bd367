#include "SoakSteps.h"

#include <string>

#include "Hosting.h"
#include "PaneDialogs.h"
#include "Report.h"
#include "Text.h"
#include "WindowFacts.h"

namespace {

constexpr int kPane = 59648;
constexpr int kCam = 3000, kPtz = 3001, kCam1 = 3002, kAll = 3008, kNone = 3009;
constexpr int kSequence = 3010, kPause = 3011, kSnap = 3012, k1x = 3013, k2x = 3014;
constexpr int kVoice = 3015, kRelay = 3016, kModuleList = 3018;

enum class Kind { kClick, kSpeed, kModule, kRelays, kAudioConnect, kAudioDisconnect };

struct Step {
  const char* what;
  Kind kind;
  int id;
};

constexpr Step kSteps[SoakSteps::kCycle] = {
    {"audio-connect", Kind::kAudioConnect, 0},
    {"cam2", Kind::kClick, kCam1 + 1},
    {"cam3", Kind::kClick, kCam1 + 2},
    {"snap", Kind::kClick, kSnap},
    {"cam4", Kind::kClick, kCam1 + 3},
    {"cam5", Kind::kClick, kCam1 + 4},
    {"cam6", Kind::kClick, kCam1 + 5},
    {"2x", Kind::kClick, k2x},
    {"snap", Kind::kClick, kSnap},
    {"1x", Kind::kClick, k1x},
    {"sequence-on", Kind::kClick, kSequence},
    {"sequence-off", Kind::kClick, kSequence},
    {"pause", Kind::kClick, kPause},
    {"play", Kind::kClick, kPause},
    {"speed", Kind::kSpeed, 0},
    {"module", Kind::kModule, kModuleList},
    {"relay", Kind::kRelays, 0},
    {"none", Kind::kClick, kNone},
    {"all", Kind::kClick, kAll},
    {"cam3", Kind::kClick, kCam1 + 2},
    {"cam1", Kind::kClick, kCam1},
    {"snap", Kind::kClick, kSnap},
    {"audio-disconnect", Kind::kAudioDisconnect, 0},
    {"ptz", Kind::kClick, kPtz},
    {"cam", Kind::kClick, kCam},
};

// A dialog that opens on a pane button, or whose request to the server ends, may take a
// while on a loaded machine.
constexpr DWORD kDialogWaitMs = 10000;

const wchar_t kAudioCaption[] = L"Audio Connection";
const wchar_t kRelayCaption[] = L"Relay Output Control";
constexpr int kAudioUdp = 250, kAudioConnect = 245, kAudioDisconnect = 246, kAudioStatus = 213;
constexpr int kFirstRelay = 203, kRelays = 6;

BOOL CALLBACK FindSpeedList(HWND child, LPARAM param) {
  // The speed list is the pane's combo box that is not the module list.
  if (GetDlgCtrlID(child) != kModuleList &&
      CompareStringOrdinal(hostkit::ClassOf(child).c_str(), -1, L"ComboBox", -1, TRUE) ==
          CSTR_EQUAL) {
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
  }
  return TRUE;
}

// A list entry chosen the way a user's choice reaches the list's parent.
void Choose(HWND list, int index) {
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(list), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

}  // namespace

bool SoakSteps::Run(HWND control, int step, int position, int cycle) {
  const Step& s = kSteps[position % kCycle];
  report_.Line("step\t" + std::to_string(step) + "\t" + s.what);
  bool ok = true;
  switch (s.kind) {
    case Kind::kClick: ok = Click(control, s.id); break;
    case Kind::kSpeed: ok = ChooseSpeed(control, step, cycle); break;
    case Kind::kModule: ok = ChooseModule(control, cycle); break;
    case Kind::kRelays: ok = VisitRelays(control, step); break;
    case Kind::kAudioConnect: ok = ConnectAudio(control, step); break;
    case Kind::kAudioDisconnect: ok = DisconnectAudio(step); break;
  }
  if (!ok) Error(step, s.what);
  PumpMessages(pace_ms_);
  return ok;
}

void SoakSteps::Error(int step, const char* what) {
  report_.Line("error\tstep\t" + std::to_string(step) + "\t" + what);
}

// A button clicked at its centre; posted, as input arrives.
bool SoakSteps::Click(HWND control, int id) {
  HWND target = hostkit::Descendant(control, id);
  if (!target) return false;
  RECT r;
  GetClientRect(target, &r);
  const LPARAM where = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(target, WM_LBUTTONUP, 0, where);
  return true;
}

bool SoakSteps::ChooseSpeed(HWND control, int step, int cycle) {
  HWND list = nullptr;
  if (HWND pane = hostkit::Descendant(control, kPane)) {
    EnumChildWindows(pane, FindSpeedList, reinterpret_cast<LPARAM>(&list));
  }
  const LRESULT count = list ? SendMessageW(list, CB_GETCOUNT, 0, 0) : 0;
  if (count <= 0) return false;
  const int index = cycle % static_cast<int>(count);
  const LRESULT data = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  report_.Line("speed\t" + std::to_string(step) + "\t" + std::to_string(index) + "\t" +
               std::to_string(static_cast<long long>(data)));
  Choose(list, index);
  return true;
}

bool SoakSteps::ChooseModule(HWND control, int cycle) {
  HWND list = hostkit::Descendant(control, kModuleList);
  if (!list) return false;
  Choose(list, cycle % 2);
  return true;
}

// The relay dialog opened from the pane, each output the module has and the user may switch
// clicked once (each click sends the outputs' word to the server), and closed with OK.
bool SoakSteps::VisitRelays(HWND control, int step) {
  if (!Click(control, kRelay)) return false;
  HWND dialog = WaitForDialog(kRelayCaption, kDialogWaitMs);
  if (!dialog) return false;
  int clicks = 0;
  for (int id = kFirstRelay; id < kFirstRelay + kRelays; ++id) {
    if (Clickable(dialog, id) && ClickItem(dialog, id)) ++clicks;
  }
  report_.Line("relay\t" + std::to_string(step) + "\t" + std::to_string(clicks));
  return clicks > 0 && ClickItem(dialog, IDOK) && WaitDialogGone(dialog, kDialogWaitMs);
}

// The audio dialog opened from the pane's Voice button, UDP receive mode chosen (the
// server's audio comes back on the connection and is played) and Connect pressed for the
// selected camera.
bool SoakSteps::ConnectAudio(HWND control, int step) {
  if (!Click(control, kVoice)) return false;
  HWND dialog = WaitForDialog(kAudioCaption, kDialogWaitMs);
  if (!dialog || !Clickable(dialog, kAudioConnect)) return false;
  ClickItem(dialog, kAudioUdp);
  ClickItem(dialog, kAudioConnect);
  const std::wstring status = ItemText(dialog, kAudioStatus);
  report_.Line("audio\t" + std::to_string(step) + "\tconnect\t" + hostkit::Escaped(status));
  return status == L"Connected";
}

// Disconnect pressed in the open audio dialog, then EXIT.
bool SoakSteps::DisconnectAudio(int step) {
  HWND dialog = WaitForDialog(kAudioCaption, 0);
  if (!dialog || !Clickable(dialog, kAudioDisconnect)) return false;
  ClickItem(dialog, kAudioDisconnect);
  const std::wstring status = ItemText(dialog, kAudioStatus);
  report_.Line("audio\t" + std::to_string(step) + "\tdisconnect\t" + hostkit::Escaped(status));
  return ClickItem(dialog, IDOK) && WaitDialogGone(dialog, kDialogWaitMs) &&
         status == L"Disconnected";
}
