#pragma once

#include <windows.h>

#include "audio/win/WinNotificationOwner.h"
#include "pane/win/dialogs/DialogWindowRef.h"
#include "ports/DialogView.h"

namespace pel::win {

// The Audio Connection and Voice Connection dialogs' windows as their logic sees them. The
// dialog is also the parent of the wave devices' hidden notification windows.
class WinDialogView final : public IAudioDialogView {
 public:
  explicit WinDialogView(HWND dialog) : window_(dialog), owner_(dialog) {}

  void SetText(int id, const std::string& text) override { window_.SetItemText(id, text); }
  std::string GetText(int id) override { return window_.ItemText(id); }
  void SetCheck(int id, bool checked) override { window_.SetItemCheck(id, checked); }
  bool GetCheck(int id) override { return window_.ItemChecked(id); }
  void EnableControl(int id, bool enable) override { window_.EnableItem(id, enable); }

  void SetSliderRange(int id, int min, int max) override;
  void SetSliderTicFrequency(int id, int frequency) override;
  void SetSliderPosition(int id, int position) override;
  int GetSliderPosition(int id) override;

  void Paint() override;
  void DestroyWindow() override { window_.DestroyWindow(); }
  INotificationOwner& NotificationOwner() override { return owner_; }

  // The window is going: nothing reaches it any more.
  void Detach() { window_.Detach(); }

 private:
  DialogWindowRef window_;
  WinNotificationOwner owner_;
};

}  // namespace pel::win
