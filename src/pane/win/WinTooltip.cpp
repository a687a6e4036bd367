#include "pane/win/WinTooltip.h"

#include <commctrl.h>
#include <windowsx.h>

#include "com/BStr.h"
#include "com/Module.h"

namespace pel::win {

namespace {

constexpr UINT_PTR kToolId = 1;

// The tool as the tooltip knows it: the version 2 layout, which every comctl32 accepts.
TOOLINFOW ToolInfo(HWND tool) {
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = tool;
  info.uId = kToolId;
  GetClientRect(tool, &info.rect);
  return info;
}

}  // namespace

bool WinTooltip::Make(HWND tool) {
  if (tooltip_ != nullptr) return true;
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, tool,
                             nullptr, com::ModuleInstance(), nullptr);
  if (tooltip_ == nullptr) return false;
  SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
  if (initialDelayMs_ > 0) {
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initialDelayMs_, 0));
  }
  TOOLINFOW info = ToolInfo(tool);
  info.lpszText = const_cast<wchar_t*>(L"");
  if (!SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
    Destroy();
    return false;
  }
  return true;
}

void WinTooltip::SetText(HWND tool, const std::string& text, bool active) {
  if (tool == nullptr) return;
  hasText_ = true;
  text_ = com::WideFromAnsi(text);
  active_ = active;
  if (tooltip_ != nullptr) Apply(tool);
}

void WinTooltip::Apply(HWND tool) {
  TOOLINFOW info = ToolInfo(tool);
  info.lpszText = text_.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  Activate(active_);
}

void WinTooltip::Activate(bool active) {
  if (!hasText_) return;
  active_ = active;
  if (tooltip_ != nullptr) SendMessageW(tooltip_, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void WinTooltip::Relay(HWND tool, UINT message, WPARAM wParam, LPARAM lParam) {
  if (tooltip_ == nullptr && hasText_ && message == WM_MOUSEMOVE && Make(tool)) Apply(tool);
  if (tooltip_ == nullptr) return;
  MSG msg = {};
  msg.hwnd = tool;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(GetMessageTime());
  const DWORD pos = GetMessagePos();
  msg.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void WinTooltip::Update() {
  if (tooltip_ != nullptr) SendMessageW(tooltip_, TTM_UPDATE, 0, 0);
}

void WinTooltip::ToolResized(HWND tool) {
  if (tooltip_ == nullptr) return;
  TOOLINFOW info = ToolInfo(tool);
  SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void WinTooltip::Destroy() {
  if (tooltip_ != nullptr && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  tooltip_ = nullptr;
}

}  // namespace pel::win
