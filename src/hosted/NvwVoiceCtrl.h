#pragma once

#include <cstdint>
#include <string>

#include "hosted/HostedComponent.h"
#include "hosted/NvwVoiceDispids.h"

namespace pel {

// The hosted voice component, child control 654321 of the operation pane, made on the first
// use of the Voice button: one member function per DISPID.
class CNvwVoiceCtrl : public HostedComponent {
 public:
  using HostedComponent::HostedComponent;

  void SetServerAddress(const std::string& v) { PutText(voice_dispid::kServerAddress, v); }
  void SetServerPort(int32_t v) { PutLong(voice_dispid::kServerPort, v); }
  void SetUserName(const std::string& v) { PutText(voice_dispid::kUserName, v); }
  void SetUserPassword(const std::string& v) { PutText(voice_dispid::kUserPassword, v); }
  int32_t GetMicLevelMax() { return GetLong(voice_dispid::kMicLevelMax); }
  int32_t GetSpeakerLevelMax() { return GetLong(voice_dispid::kSpeakerLevelMax); }
  int32_t GetMicLevel() { return GetLong(voice_dispid::kMicLevel); }
  void SetMicLevel(int32_t v) { PutLong(voice_dispid::kMicLevel, v); }
  int32_t GetSpeakerLevel() { return GetLong(voice_dispid::kSpeakerLevel); }
  void SetSpeakerLevel(int32_t v) { PutLong(voice_dispid::kSpeakerLevel, v); }
  void SetBDialogInit(bool v) { PutBool(voice_dispid::kDialogInit, v); }
  void Connect() { Call(voice_dispid::kConnect); }
  void Disconnect() { Call(voice_dispid::kDisconnect); }
};

}  // namespace pel
