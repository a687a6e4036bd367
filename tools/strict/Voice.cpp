#include "Voice.h"

#include "StrictIds.h"

namespace strict {

namespace {

constexpr DISPID kMicLevelMax = 9;
constexpr DISPID kSpeakerLevelMax = 10;
constexpr DISPID kMicLevel = 11;
constexpr DISPID kSpeakerLevel = 12;
constexpr DISPID kConnect = 16;
constexpr DISPID kDisconnect = 17;
constexpr DISPID kEventStatus = 1;
constexpr LONG kStatusDisconnected = 7;

std::vector<Member> VoiceMembers() {
  return {
      Property(1, L"ServerAddress", VT_BSTR),
      Property(2, L"ServerPort", VT_I4),
      Property(3, L"UserName", VT_BSTR),
      Property(4, L"UserPassword", VT_BSTR),
      ReadOnly(kMicLevelMax, L"MicLevelMax", VT_I4),
      ReadOnly(kSpeakerLevelMax, L"SpeakerLevelMax", VT_I4),
      Property(kMicLevel, L"MicLevel", VT_I4),
      Property(kSpeakerLevel, L"SpeakerLevel", VT_I4),
      Property(13, L"bDialogInit", VT_BOOL),
      Method(kConnect, L"Connect", VT_EMPTY),
      Method(kDisconnect, L"Disconnect", VT_EMPTY),
  };
}

const ComponentInfo kVoiceInfo = {"voice", &kClsidVoice, &kDiidVoiceEvents, true, {120, 40}};

}  // namespace

Voice::Voice() : StrictControl(kVoiceInfo, VoiceMembers()) {
  Seed(kMicLevelMax, OwnedVariant::Long(100));
  Seed(kSpeakerLevelMax, OwnedVariant::Long(100));
  Seed(kMicLevel, OwnedVariant::Long(50));
  Seed(kSpeakerLevel, OwnedVariant::Long(50));
}

HRESULT Voice::OnCall(const Member& member, const std::vector<VARIANT*>&, VARIANT*) {
  if (member.id == kConnect) {
    std::vector<int> outcome = EnvInts(L"PEL_STANDIN_VOICE_RESULT");
    if (outcome.empty()) outcome = {1, 0};
    outcome.resize(2, 0);
    PostEvent(kEventStatus, L"Status",
              {OwnedVariant::Long(outcome[0]), OwnedVariant::Long(outcome[1]),
               OwnedVariant::Long(0)});
  } else if (member.id == kDisconnect) {
    PostEvent(kEventStatus, L"Status",
              {OwnedVariant::Long(kStatusDisconnected), OwnedVariant::Long(0),
               OwnedVariant::Long(0)});
  }
  return S_OK;
}

void Voice::Paint(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}

HRESULT CreateVoice(REFIID iid, void** out) {
  const ComRef<Voice> voice = MakeObject<Voice>();
  return voice ? voice->QueryInterface(iid, out) : E_OUTOFMEMORY;
}

}  // namespace strict
