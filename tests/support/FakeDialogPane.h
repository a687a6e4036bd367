#pragma once

#include <cstdint>
#include <vector>

#include "audio/dialogs/DialogPane.h"

namespace pel::test {

// The pane as the audio and voice dialogs see it, with the viewer's stream-audio switches
// recorded in order.
class FakeDialogPane : public IDialogPane {
 public:
  int32_t GetSelectedCamera() override { return camera; }
  int32_t GetServerId() override { return serverId; }
  int32_t IsLimit() override { return isLimit; }
  void EnableStreamAudio(int32_t enable) override { streamAudio.push_back(enable); }
  IDispatchPort* VoiceControl() override { return voice; }

  int32_t camera = 1;
  int32_t serverId = 0;
  int32_t isLimit = 0;
  IDispatchPort* voice = nullptr;
  std::vector<int32_t> streamAudio;
};

}  // namespace pel::test
