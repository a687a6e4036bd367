#include "DialogRecorder.h"

#include <utility>

#include "Text.h"
#include "WindowFacts.h"

namespace hostkit {
namespace {

DialogRecorder* g_recorder = nullptr;
const wchar_t kSeen[] = L"hostkit.dialog.seen";

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  auto* texts = reinterpret_cast<std::wstring*>(param);
  // Icons and pictures are statics too, without a text of their own.
  const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
  if (CompareStringOrdinal(ClassOf(child).c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL &&
      type != SS_ICON && type != SS_BITMAP) {
    const std::wstring text = TextOf(child);
    if (!text.empty()) *texts += (texts->empty() ? L"" : L" | ") + text;
  }
  return TRUE;
}

void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

}  // namespace

DialogRecorder::DialogRecorder(Rules rules) : rules_(std::move(rules)) {
  g_recorder = this;
  hook_ = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

DialogRecorder::~DialogRecorder() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (timer_) KillTimer(nullptr, timer_);
  g_recorder = nullptr;
}

std::vector<std::string> DialogRecorder::Take() { return std::exchange(lines_, {}); }

void DialogRecorder::SetReentry(std::function<void()> reentry, unsigned long every) {
  reentry_ = std::move(reentry);
  every_ = every;
}

void DialogRecorder::Emit(std::string line) {
  if (rules_.line) {
    rules_.line(line);
  } else {
    lines_.push_back(std::move(line));
  }
}

LRESULT CALLBACK DialogRecorder::OnCbt(int code, WPARAM wp, LPARAM lp) {
  HWND window = reinterpret_cast<HWND>(wp);
  if (code == HCBT_ACTIVATE && g_recorder && ClassOf(window) == L"#32770" &&
      !GetPropW(window, kSeen)) {
    SetPropW(window, kSeen, reinterpret_cast<HANDLE>(1));
    g_recorder->Activated(window);
  } else if (code == HCBT_DESTROYWND) {
    RemovePropW(window, kSeen);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void DialogRecorder::Activated(HWND dialog) {
  if (rules_.settleMs) {
    // The dialog's modal loop runs the timer.
    settling_.emplace_back(dialog, 0);
    if (!timer_) timer_ = SetTimer(nullptr, 0, rules_.settleMs, OnSettled);
    return;
  }
  if (LeftOpen(dialog)) return;
  if (reentry_ && every_ && !inReentry_ && !waiting_ && (answered_ + 1) % every_ == 0 &&
      SetTimer(nullptr, 0, 0, OnReentry)) {
    ++answered_;
    waiting_ = dialog;
    return;
  }
  Answer(dialog);
}

bool DialogRecorder::LeftOpen(HWND dialog) {
  if (rules_.modeless == Modeless::kAnswer) return false;
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!owner || !IsWindowEnabled(owner)) return false;
  if (rules_.modeless == Modeless::kLeaveAndReport) Emit("opened\t" + Escaped(TextOf(dialog)));
  return true;
}

void DialogRecorder::Answer(HWND dialog) {
  std::wstring texts;
  EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
  Emit("msgbox\t" + Escaped(TextOf(dialog)) + "\t" + Escaped(texts));
  ++answered_;
  Press(dialog, !rules_.cancel && GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL);
}

void CALLBACK DialogRecorder::OnReentry(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  DialogRecorder* self = g_recorder;
  if (!self) return;
  HWND dialog = std::exchange(self->waiting_, nullptr);
  ++self->reentries_;
  self->inReentry_ = true;
  if (self->reentry_) self->reentry_();
  self->inReentry_ = false;
  if (IsWindow(dialog)) {
    --self->answered_;  // counted when it was put on hold
    self->Answer(dialog);
  }
}

void CALLBACK DialogRecorder::OnSettled(HWND, UINT, UINT_PTR, DWORD) {
  DialogRecorder* self = g_recorder;
  if (!self) return;
  std::vector<std::pair<HWND, int>> dialogs;
  dialogs.swap(self->settling_);
  for (auto& [dialog, tries] : dialogs) {
    if (!IsWindow(dialog)) continue;
    if (tries == 0) {
      if (self->LeftOpen(dialog)) continue;
      self->Answer(dialog);
    } else if (tries == 1) {
      Press(dialog, IDCANCEL);
    } else {
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    self->settling_.emplace_back(dialog, tries + 1);
  }
  if (self->settling_.empty()) {
    KillTimer(nullptr, self->timer_);
    self->timer_ = 0;
  }
}

}  // namespace hostkit
