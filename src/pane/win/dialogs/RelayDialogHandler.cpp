#include "pane/win/dialogs/DialogHandlers.h"
#include "relay/RelayOutputDlg.h"

namespace pel::win {

bool RelayDialogHandler::OnInitDialog(HWND hwnd) {
  view_ = std::make_unique<WinRelayDialogView>(hwnd);
  return dialog_ != nullptr && dialog_->OnInitDialog(*view_);
}

void RelayDialogHandler::OnCommand(int id) {
  if (dialog_ == nullptr) return;
  if (id == IDOK) {
    dialog_->OnOK();
  } else {
    dialog_->OnCommand(id);
  }
}

void RelayDialogHandler::OnCancel() {
  if (dialog_ != nullptr) dialog_->OnOK();
}

void RelayDialogHandler::OnClose() {
  if (dialog_ != nullptr) dialog_->OnClose();
}

void RelayDialogHandler::OnDestroy() {
  if (view_) view_->Detach();
  // Detached, the view's DestroyWindow does nothing: the window is already going.
  if (dialog_ != nullptr && dialog_->HasWindow()) dialog_->OnClose();
}

}  // namespace pel::win
