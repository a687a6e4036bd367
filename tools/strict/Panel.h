#pragma once

#include <vector>

#include "StrictControl.h"

namespace strict {

// The serial/PTZ panel: fires SizeChanged (1) with its size 164 x 394 after EnablePanel(TRUE).
// It names no outgoing interface (no IProvideClassInfo of any kind): a container finds its
// events by its connection points alone.
class Panel final : public StrictControl {
 public:
  Panel();

 private:
  HRESULT OnCall(const Member& member, const std::vector<VARIANT*>& args,
                 VARIANT* result) override;
  void Paint(HDC dc, const RECT& bounds) override;

  bool ptzEnabled_ = false;
};

HRESULT CreatePanel(REFIID iid, void** out);

}  // namespace strict
