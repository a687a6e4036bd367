#include "VoiceStandin.h"

#include "MemberTable.h"
#include "StandinIds.h"
#include "com/ComObject.h"
#include "hosted/NvwVoiceDispids.h"

namespace pel::standin {

namespace {

// The voice component's members that the control uses, by the control's own DISPIDs.
using namespace voice_dispid;

// Status codes of event 1: 7 the connection ended.
constexpr int kStatusDisconnected = 7;

com::DispatchTable VoiceMembers() {
  return com::DispatchTable({
      Property(kServerAddress, L"ServerAddress", VT_BSTR),
      Property(kServerPort, L"ServerPort", VT_I4),
      Property(kUserName, L"UserName", VT_BSTR),
      Property(kUserPassword, L"UserPassword", VT_BSTR),
      Property(kMicLevelMax, L"MicLevelMax", VT_I4),
      Property(kSpeakerLevelMax, L"SpeakerLevelMax", VT_I4),
      Property(kMicLevel, L"MicLevel", VT_I4),
      Property(kSpeakerLevel, L"SpeakerLevel", VT_I4),
      Property(kDialogInit, L"bDialogInit", VT_BOOL),
      Method(kConnect, L"Connect", VT_EMPTY),
      Method(kDisconnect, L"Disconnect", VT_EMPTY),
  });
}

const StandinDescription kVoice = {"voice", &kClsidVoice, &kDiidVoiceEvents, {120, 40},
                                   L"PelStandinVoice"};

}  // namespace

VoiceStandin::VoiceStandin() : StandinControl(kVoice, VoiceMembers()) {
  SeedLong(kMicLevelMax, 100);
  SeedLong(kSpeakerLevelMax, 100);
  SeedLong(kMicLevel, 50);
  SeedLong(kSpeakerLevel, 50);
}

HRESULT VoiceStandin::OnCall(const com::DispMember& member, const std::vector<VARIANT*>&,
                             VARIANT*) {
  if (member.id == kConnect) {
    std::vector<int> outcome = EnvInts(L"PEL_STANDIN_VOICE_RESULT");
    if (outcome.empty()) outcome = {1, 0};
    outcome.resize(2, 0);
    PostEvent(kEventStatus, {{VT_I4, outcome[0]}, {VT_I4, outcome[1]}, {VT_I4, 0}});
  } else if (member.id == kDisconnect) {
    PostEvent(kEventStatus, {{VT_I4, kStatusDisconnected}, {VT_I4, 0}, {VT_I4, 0}});
  }
  return S_OK;
}

void VoiceStandin::OnDraw(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}

HRESULT CreateVoiceStandin(REFIID iid, void** out) {
  return com::CreateComObject<VoiceStandin>(iid, out);
}

}  // namespace pel::standin
