#include "pane/win/WinComboWindow.h"

#include <commctrl.h>
#include <oleacc.h>

#include "com/BStr.h"
#include "pane/win/SkinAccessible.h"
#include "res/StringTable.h"

namespace pel::win {

WinComboWindow::WinComboWindow(CSkinComboBox& model, PaneChildSupport support, int labelText)
    : model_(model),
      support_(std::move(support)),
      labelText_(labelText),
      link_(std::make_shared<AccessibleLink>(*this)),
      tooltip_(1) {}

WinComboWindow::~WinComboWindow() { link_->Cut(); }

bool WinComboWindow::Create(HWND parent, int childId, const ChildRect& rect) {
  const bool made = child_.Create(
      L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, rect, parent, childId,
      [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return Handle(message, wParam, lParam);
      });
  if (!made) return false;
  // The window is told only of later changes: what the model holds already is copied.
  for (int i = 0; i < model_.count(); ++i) {
    AddString(model_.GetText(i));
    SetItemData(i, model_.GetItemData(i));
  }
  SetCurSel(model_.GetCurSel());
  model_.AttachWindow(this);
  return true;
}

std::optional<LRESULT> WinComboWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = Window();
  switch (message) {
    case WM_MOUSEMOVE:
      tooltip_.Relay(window, message, wParam, lParam);
      break;
    case WM_SIZE:
      tooltip_.ToolResized(window);
      break;
    case WM_GETOBJECT:
      if (const LRESULT object = AnswerGetObject(window, wParam, lParam, link_)) return object;
      break;
    case WM_GETDLGCODE:
      // The list's own keys, and Tab for the pane.
      return DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTTAB;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (support_.keys && support_.keys(MSG{window, message, wParam, lParam, 0, {0, 0}})) {
        return 0;
      }
      break;
    case WM_SETFOCUS:
      NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
      break;
    case WM_ENABLE:
      NotifyStateChange(window, Facts().state, notifiedState_);
      break;
    case WM_DESTROY:
      link_->Cut();
      tooltip_.Destroy();
      model_.AttachWindow(nullptr);
      break;
    default:
      break;
  }
  return std::nullopt;
}

AccessibleFacts WinComboWindow::Facts() const {
  AccessibleFacts facts;
  const HWND window = Window();
  facts.name = AccessibleText(labelText_);
  facts.role = ROLE_SYSTEM_COMBOBOX;
  const int selection = model_.GetCurSel();
  if (selection >= 0) facts.value = com::WideFromAnsi(model_.GetText(selection));
  const bool dropped = Dropped();
  facts.state = dropped ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
  facts.defaultAction = AccessibleText(dropped ? IDS_ACC_CLOSE : IDS_ACC_OPEN);
  if (TakesFocus()) facts.state |= STATE_SYSTEM_FOCUSABLE;
  if (window != nullptr && GetFocus() == window) facts.state |= STATE_SYSTEM_FOCUSED;
  if (window == nullptr || !IsWindowEnabled(window)) facts.state |= STATE_SYSTEM_UNAVAILABLE;
  if (window == nullptr || !IsWindowVisible(window)) facts.state |= STATE_SYSTEM_INVISIBLE;
  return facts;
}

bool WinComboWindow::DoDefaultAction() {
  if (!TakesFocus()) return false;
  FlipDropDown();
  return true;
}

bool WinComboWindow::TakesFocus() const {
  const HWND window = Window();
  return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window);
}

bool WinComboWindow::Dropped() const {
  const HWND window = Window();
  return window != nullptr && SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

void WinComboWindow::FlipDropDown() {
  const HWND window = Window();
  if (window == nullptr) return;
  SendMessageW(window, CB_SHOWDROPDOWN, Dropped() ? FALSE : TRUE, 0);
  NotifyStateChange(window, Facts().state, notifiedState_);
}

void WinComboWindow::OnSelChange() {
  model_.OnSelChange(static_cast<int>(SendMessageW(Window(), CB_GETCURSEL, 0, 0)));
}

void WinComboWindow::ResetContent() { SendMessageW(Window(), CB_RESETCONTENT, 0, 0); }

void WinComboWindow::AddString(const std::string& text) {
  const std::wstring wide = com::WideFromAnsi(text);
  SendMessageW(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void WinComboWindow::SetCurSel(int index) { SendMessageW(Window(), CB_SETCURSEL, index, 0); }

void WinComboWindow::SetItemData(int index, int32_t data) {
  SendMessageW(Window(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

void WinComboWindow::SetTooltipText(const std::string& text, bool active) {
  tooltip_.SetText(Window(), text, active);
}

void WinComboWindow::ActivateTooltip(bool active) { tooltip_.Activate(active); }

}  // namespace pel::win
