#pragma once

#include <vector>

#include "StrictControl.h"

namespace strict {

// The voice component: levels 50 of 100; Connect fires status event 1 with the code and
// detail of PEL_STANDIN_VOICE_RESULT ("code,detail", default 1,0: connected), Disconnect
// with 7 (disconnected).
class Voice final : public StrictControl {
 public:
  Voice();

 private:
  HRESULT OnCall(const Member& member, const std::vector<VARIANT*>& args,
                 VARIANT* result) override;
  void Paint(HDC dc, const RECT& bounds) override;
};

HRESULT CreateVoice(REFIID iid, void** out);

}  // namespace strict
