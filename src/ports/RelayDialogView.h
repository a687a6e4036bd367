#pragma once

#include <string>

namespace pel {

// The Relay Output Control dialog's window as its logic sees it: six automatic check boxes
// (IDs 203 to 208, here `box` 0 to 5) and the window itself. The Windows shell implements it
// over the dialog made from template 213; pelprobe and the tests keep the boxes in memory.
class IRelayDialogView {
 public:
  virtual ~IRelayDialogView() = default;

  virtual void ShowBox(int box, bool show) = 0;
  virtual void EnableBox(int box, bool enable) = 0;
  virtual void SetBoxText(int box, const std::string& text) = 0;
  // Dialog data exchange: a check state (0 or 1) to a box, and a box's state back.
  virtual void SetBoxCheck(int box, int check) = 0;
  virtual int GetBoxCheck(int box) = 0;
  // OK and the close command end the window; the dialog object stays.
  virtual void DestroyWindow() = 0;
};

}  // namespace pel
