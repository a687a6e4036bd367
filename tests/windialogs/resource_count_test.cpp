// Opening and closing each dialog again and again leaves no window, handle or GDI or USER
// object behind. Wine does not count GDI and USER objects (GetGuiResources answers 0), so
// there only the handles and the windows tell.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "DialogRig.h"
#include "relay/RelayOutputDlg.h"
#include "support/AudioWire.h"
#include "support/ControlRig.h"
#include "support/Kvsim.h"

namespace pel::wintest {
namespace {

// One opening of a dialog, what is done in it, and its end.
void Cycle(const std::function<void()>& open, const char* title,
           const std::function<void(HWND)>& use) {
  open();
  HWND dialog = FindDialog(title);
  ASSERT_NE(dialog, nullptr);
  use(dialog);
  ASSERT_TRUE(PressEscape(dialog));
  ASSERT_FALSE(IsWindow(dialog));
  Pump(50);
}

TEST(ResourceCounts, RepeatedOpeningAndClosingLeavesNothingBehind) {
  test::KvsimScenario kv(test::UdpSection("") +
                         test::RouteWithBody("/asp-get/kvdioget.asp?KvModId=0", {"DO_DATA=0x01"}) +
                         "route *\nbody\nOK\nend\n");
  test::RecordingMessages relayMessages;
  CRelayOutputDlg relay(relayMessages);
  relay.SetSettings(RelaySettings(kv.port(), 0, 6, 0x3F));
  PaneRig rig;
  AudioDialogFields audio;
  audio.serverAddress = "127.0.0.1";
  audio.udpPort = kv.udpPort();
  audio.deviceType = 2;
  audio.user = "root";

  const std::function<void()> audioCycle = [&] {
    Cycle([&] { rig.dialogs.OpenAudioConnection(audio); }, "Audio Connection", [](HWND d) {
      Click(d, 245);  // Connect
      Pump(300);
    });
  };
  const std::function<void()> voiceCycle = [&] {
    Cycle([&] { rig.dialogs.OpenVoiceConnection(VoiceDialogFields{}); }, "Voice Connection",
          [](HWND) {});
  };
  const std::function<void()> relayCycle = [&] {
    Cycle([&] { rig.dialogs.OpenRelayOutput(relay); }, "Relay Output Control",
          [](HWND d) { Click(d, 204); });
  };
  for (const std::function<void()>* cycle : {&audioCycle, &voiceCycle, &relayCycle}) {
    (*cycle)();  // the first opening may load what stays loaded
    const ResourceCounts before = CountResources();
    for (int i = 0; i < 5; ++i) (*cycle)();
    const ResourceCounts after = CountResources();
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    RecordProperty("gdi_objects", static_cast<int>(after.gdi));
    RecordProperty("user_objects", static_cast<int>(after.user));
  }
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_TRUE(relayMessages.texts.empty());
}

}  // namespace
}  // namespace pel::wintest
