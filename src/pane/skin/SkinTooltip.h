#pragma once

#include <string>

#include "ports/SkinWindows.h"

namespace pel {

// A skinned control's tooltip as the control keeps it: the tip text from the string table and
// whether it is active, passed on to the control's window when there is one.
class SkinTooltip {
 public:
  void Attach(ITooltipHost* host) { host_ = host; }

  // Loads string `stringId`; an empty text changes nothing. Otherwise the tooltip (and its one
  // tool) exists from now on, with that text, active or not.
  void Set(int stringId, bool activate);
  // Changes the activation only when the tooltip has a tool.
  void Activate(bool activate);

  bool exists() const { return exists_; }
  bool active() const { return active_; }
  const std::string& text() const { return text_; }

 private:
  ITooltipHost* host_ = nullptr;
  bool exists_ = false;
  bool active_ = false;
  std::string text_;
};

}  // namespace pel
