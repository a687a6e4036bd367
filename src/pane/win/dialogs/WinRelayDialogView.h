#pragma once

#include <windows.h>

#include "pane/win/dialogs/DialogWindowRef.h"
#include "ports/RelayDialogView.h"

namespace pel::win {

// The Relay Output Control dialog's window: boxes 0 to 5 are its check boxes 203 to 208.
// Other box numbers name nothing and are ignored.
class WinRelayDialogView final : public IRelayDialogView {
 public:
  explicit WinRelayDialogView(HWND dialog) : window_(dialog) {}

  void ShowBox(int box, bool show) override;
  void EnableBox(int box, bool enable) override;
  void SetBoxText(int box, const std::string& text) override;
  void SetBoxCheck(int box, int check) override;
  int GetBoxCheck(int box) override;
  void DestroyWindow() override { window_.DestroyWindow(); }

  void Detach() { window_.Detach(); }

 private:
  // The control ID of `box`, or 0 when there is no such box.
  static int BoxId(int box);

  DialogWindowRef window_;
};

}  // namespace pel::win
