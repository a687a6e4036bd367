#pragma once

#include <windows.h>

#include <memory>

#include "pane/win/dialogs/ModelessDialog.h"
#include "pane/win/dialogs/WinDialogView.h"
#include "pane/win/dialogs/WinRelayDialogView.h"

namespace pel {
class CRelayOutputDlg;
}

namespace pel::win {

// The Audio Connection or Voice Connection dialog object behind its window. Escape does what
// EXIT does, and the window goes with it: a window that were only hidden would keep its title
// and with it block the Voice button for the rest of the session.
template <class Dialog>
class ConnectionDialogHandler final : public IDialogHandler {
 public:
  explicit ConnectionDialogHandler(Dialog& dialog) : dialog_(dialog) {}

  bool OnInitDialog(HWND hwnd) override {
    // The view of an earlier window goes only now: it may have been the one destroying it.
    view_ = std::make_unique<WinDialogView>(hwnd);
    return dialog_.OnInitDialog(*view_);
  }
  void OnCommand(int id) override { dialog_.OnCommand(id); }
  void OnCancel() override { dialog_.OnOK(); }
  void OnClose() override { dialog_.OnClose(); }
  void OnSliderReleased(int id) override { dialog_.OnSliderReleased(id); }
  void OnDestroy() override {
    dialog_.OnDestroy();
    if (view_) view_->Detach();
  }

 private:
  Dialog& dialog_;
  std::unique_ptr<WinDialogView> view_;
};

// The Relay Output Control dialog object (the pane's own) behind its window.
class RelayDialogHandler final : public IDialogHandler {
 public:
  void SetDialog(CRelayOutputDlg& dialog) { dialog_ = &dialog; }

  bool OnInitDialog(HWND hwnd) override;
  void OnCommand(int id) override;
  void OnCancel() override;
  void OnClose() override;
  void OnSliderReleased(int) override {}
  // A window destroyed with its parent: the dialog lets go of its view as it does on OK.
  void OnDestroy() override;

 private:
  CRelayOutputDlg* dialog_ = nullptr;
  std::unique_ptr<WinRelayDialogView> view_;
};

}  // namespace pel::win
