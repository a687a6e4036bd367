#include "DialogRecorder.h"

#include <string>
#include <vector>

#include "Report.h"
#include "WindowInfo.h"

namespace pel::host {

namespace {

DialogRecorder* g_recorder = nullptr;

BOOL CALLBACK CollectStatic(HWND child, LPARAM lp) {
  auto* texts = reinterpret_cast<std::vector<std::string>*>(lp);
  // Icons and pictures are statics too, without a text of their own.
  const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
  if (lstrcmpiA(ClassName(child).c_str(), "Static") == 0 && type != SS_ICON &&
      type != SS_BITMAP) {
    const std::string text = WindowText(child);
    if (!text.empty()) texts->push_back(text);
  }
  return TRUE;
}

// One report line holds the texts: their line breaks and tabs are escaped.
std::string OneLine(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

DialogRecorder::DialogRecorder(Report& report) : report_(report) {
  g_recorder = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

DialogRecorder::~DialogRecorder() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (timer_) KillTimer(nullptr, timer_);
  g_recorder = nullptr;
}

LRESULT CALLBACK DialogRecorder::Hook(int code, WPARAM wp, LPARAM lp) {
  if (g_recorder) {
    HWND hwnd = reinterpret_cast<HWND>(wp);
    if (code == HCBT_ACTIVATE && ClassName(hwnd) == "#32770" &&
        g_recorder->seen_.insert(hwnd).second) {
      // The modal loop of the dialog runs the timer.
      g_recorder->pending_.emplace_back(hwnd, 0);
      if (!g_recorder->timer_) g_recorder->timer_ = SetTimer(nullptr, 0, 100, OnTimer);
    } else if (code == HCBT_DESTROYWND) {
      g_recorder->seen_.erase(hwnd);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void CALLBACK DialogRecorder::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_recorder) return;
  std::vector<std::pair<HWND, int>> dialogs;
  dialogs.swap(g_recorder->pending_);
  for (auto& [dialog, tries] : dialogs) {
    if (!IsWindow(dialog)) continue;
    if (tries == 0) {
      // A modeless dialog leaves its owner enabled: it is the control's own window, which the
      // actions work with, and stays open.
      HWND owner = GetWindow(dialog, GW_OWNER);
      if (owner && IsWindowEnabled(owner)) {
        g_recorder->report_.Line("opened\t" + OneLine(WindowText(dialog)));
        continue;
      }
      g_recorder->Record(dialog);
      const int button = GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL;
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    } else if (tries == 1) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else {
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    g_recorder->pending_.emplace_back(dialog, tries + 1);
  }
  if (g_recorder->pending_.empty()) {
    KillTimer(nullptr, g_recorder->timer_);
    g_recorder->timer_ = 0;
  }
}

void DialogRecorder::Record(HWND dialog) {
  std::vector<std::string> texts;
  EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
  std::string joined;
  for (const std::string& t : texts) joined += (joined.empty() ? "" : " | ") + t;
  report_.Line("msgbox\t" + OneLine(WindowText(dialog)) + "\t" + OneLine(joined));
}

}  // namespace pel::host
