#include "pane/win/WinComboWindow.h"

#include "com/BStr.h"

namespace pel::win {

bool WinComboWindow::Create(HWND parent, int childId, const ChildRect& rect) {
  const bool made = child_.Create(
      L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, rect, parent, childId,
      [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        switch (message) {
          case WM_MOUSEMOVE:
            tooltip_.Relay(Window(), message, wParam, lParam);
            break;
          case WM_SIZE:
            tooltip_.ToolResized(Window());
            break;
          case WM_DESTROY:
            tooltip_.Destroy();
            model_.AttachWindow(nullptr);
            break;
          default:
            break;
        }
        return std::nullopt;
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
