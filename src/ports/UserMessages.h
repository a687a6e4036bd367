#pragma once

#include <string>

namespace pel {

// The modal message box with an OK button through which the control tells the user about a
// failure. The Windows shell shows a real MessageBox; tests record the texts.
class IUserMessages {
 public:
  virtual ~IUserMessages() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace pel
