#pragma once

#include <string>

#include "ports/WaveDevices.h"

namespace pel {

// A dialog's window as the dialog's logic sees it: its controls by their IDs in the dialog
// template. The Windows shell implements it over the dialog made from the template (edit
// texts, button check states, EnableWindow, trackbar messages); pelprobe and the tests keep
// the controls in memory.
class IDialogView {
 public:
  virtual ~IDialogView() = default;

  // Edit and static texts.
  virtual void SetText(int id, const std::string& text) = 0;
  virtual std::string GetText(int id) = 0;
  // Check boxes and radio buttons.
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool GetCheck(int id) = 0;
  virtual void EnableControl(int id, bool enable) = 0;

  // Trackbars.
  virtual void SetSliderRange(int id, int min, int max) = 0;
  virtual void SetSliderTicFrequency(int id, int frequency) = 0;
  virtual void SetSliderPosition(int id, int position) = 0;
  virtual int GetSliderPosition(int id) = 0;

  // Paints what changed at once (UpdateWindow), before a step that may block.
  virtual void Paint() = 0;
  // Ends the window; the dialog object stays. The shell's window then reports its
  // destruction to the dialog (WM_DESTROY).
  virtual void DestroyWindow() = 0;
};

// The Audio Connection dialog's window, which is also the parent of the wave devices' hidden
// notification windows.
class IAudioDialogView : public IDialogView {
 public:
  virtual INotificationOwner& NotificationOwner() = 0;
};

}  // namespace pel
