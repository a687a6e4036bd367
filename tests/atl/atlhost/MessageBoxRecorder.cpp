#include "MessageBoxRecorder.h"

#include <utility>

#include "Report.h"
#include "WindowFacts.h"

namespace {

MessageBoxRecorder* g_recorder = nullptr;

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  auto* texts = reinterpret_cast<std::wstring*>(param);
  if (CompareStringOrdinal(ClassOf(child).c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL) {
    std::wstring text = TextOf(child);
    if (!text.empty()) {
      if (!texts->empty()) *texts += L" | ";
      *texts += text;
    }
  }
  return TRUE;
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder(Answers answers) : answers_(answers) {
  g_recorder = this;
  hook_ = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

MessageBoxRecorder::~MessageBoxRecorder() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_recorder = nullptr;
}

std::vector<std::string> MessageBoxRecorder::Take() {
  answered_.clear();
  return std::exchange(seen_, {});
}

LRESULT CALLBACK MessageBoxRecorder::OnCbt(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && g_recorder) {
    HWND window = reinterpret_cast<HWND>(wparam);
    if (ClassOf(window) == L"#32770") g_recorder->Answer(window);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void MessageBoxRecorder::Answer(HWND dialog) {
  // A modal dialog's owner is disabled before the dialog is activated.
  if (answers_ == Answers::kModalOnly) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner && IsWindowEnabled(owner)) return;
  }
  // A dialog can be activated more than once before the posted answer closes it.
  if (!answered_.insert(dialog).second) return;
  std::wstring texts;
  EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
  seen_.push_back("msgbox\t" + Escaped(TextOf(dialog)) + "\t" + Escaped(texts));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
