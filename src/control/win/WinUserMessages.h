#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ports/UserMessages.h"

namespace pel::win {

// The control's failure messages: a modal message box with OK over the control's window.
class WinUserMessages final : public IUserMessages {
 public:
  explicit WinUserMessages(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  void ShowMessage(const std::string& text) override;

 private:
  std::function<HWND()> owner_;
};

}  // namespace pel::win
