#include "pane/win/dialogs/WinRelayDialogView.h"

#include "relay/RelayOutputDlg.h"

namespace pel::win {

int WinRelayDialogView::BoxId(int box) {
  return box >= 0 && box < kRelayOutputs ? CRelayOutputDlg::kFirstBoxId + box : 0;
}

void WinRelayDialogView::ShowBox(int box, bool show) {
  const int id = BoxId(box);
  if (HWND item = id != 0 ? window_.Item(id) : nullptr) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

void WinRelayDialogView::EnableBox(int box, bool enable) {
  if (const int id = BoxId(box)) window_.EnableItem(id, enable);
}

void WinRelayDialogView::SetBoxText(int box, const std::string& text) {
  if (const int id = BoxId(box)) window_.SetItemText(id, text);
}

void WinRelayDialogView::SetBoxCheck(int box, int check) {
  if (const int id = BoxId(box)) window_.SetItemCheck(id, check != 0);
}

int WinRelayDialogView::GetBoxCheck(int box) {
  const int id = BoxId(box);
  return id != 0 && window_.ItemChecked(id) ? 1 : 0;
}

}  // namespace pel::win
