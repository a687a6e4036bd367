#pragma once

#include <cstdint>
#include <string>

#include "ports/RequestGate.h"

namespace pel {

class IDispatchPort;

// What the audio and voice dialogs use of the operation pane that opened them (and, through
// it, of the control and its viewer).
class IDialogPane {
 public:
  virtual ~IDialogPane() = default;

  // The selected camera (1..6, 0 none) and the module number iSvrID; -1 without a control.
  virtual int32_t GetSelectedCamera() = 0;
  virtual int32_t GetServerId() = 0;
  // iIsLimit from the server information page.
  virtual int32_t IsLimit() = 0;
  // The viewer's EnableStreamAudio: 0 while the audio connection plays the server's audio.
  virtual void EnableStreamAudio(int32_t enable) = 0;
  // The hosted voice component; null before the Voice button made it or when it could not be.
  virtual IDispatchPort* VoiceControl() = 0;
  // The control's site lock, which the audio login and the voice component's connection pass
  // first; null where there is no control to hold one (tools).
  virtual IRequestGate* RequestGate() { return nullptr; }
};

// Whether the site lock lets a connection go to the server at `address`.
inline bool ConnectionAllowed(IDialogPane& pane, const std::string& address) {
  IRequestGate* gate = pane.RequestGate();
  return gate == nullptr || gate->AllowRequest(address, std::string());
}

}  // namespace pel
