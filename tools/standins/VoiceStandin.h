#pragma once

#include "StandinControl.h"

namespace pel::standin {

// The voice component: keeps its connection settings and levels, and reports the outcome of
// Connect and the end of a connection through its status event (1: code, detail, 0).
//   PEL_STANDIN_VOICE_RESULT  "code,detail" that Connect reports (1,0: connected)
class VoiceStandin : public StandinControl {
 public:
  VoiceStandin();

 protected:
  HRESULT OnCall(const com::DispMember& member, const std::vector<VARIANT*>& args,
                 VARIANT* result) override;
  void OnDraw(HDC dc, const RECT& bounds) override;
};

HRESULT CreateVoiceStandin(REFIID iid, void** out);

}  // namespace pel::standin
