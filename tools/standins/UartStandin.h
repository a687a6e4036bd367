#pragma once

#include "StandinControl.h"

namespace pel::standin {

// The serial/PTZ panel: a grey panel naming its channel and whether PTZ is enabled; fires
// SizeChanged (1) with its size once it is enabled.
class UartStandin : public StandinControl {
 public:
  UartStandin();

 protected:
  HRESULT OnCall(const com::DispMember& member, const std::vector<VARIANT*>& args,
                 VARIANT* result) override;
  void OnDraw(HDC dc, const RECT& bounds) override;

 private:
  bool ptzEnabled_ = false;
};

HRESULT CreateUartStandin(REFIID iid, void** out);

}  // namespace pel::standin
