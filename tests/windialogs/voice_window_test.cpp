// The Voice Connection window over the voice component's stand-in (registered by
// windialogs.sh): its levels, Connect and Disconnect with the component's status events, the
// status handler's messages, the listen mode locked for a limited user.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogRig.h"
#include "hosted/win/HostedControl.h"

namespace pel::wintest {
namespace {

constexpr const char* kTitle = "Voice Connection";
constexpr int kConnect = 214, kDisconnect = 215, kListenOnly = 216, kListenSpeak = 217;
constexpr int kStatus = 213, kPortCheck = 203, kMic = 211, kSpeaker = 212;
const CLSID kVoice = {0xBA04A117, 0x26C3, 0x4C87, {0xA3, 0xBA, 0xF3, 0xD7, 0xA1, 0xD8, 0xC4, 0xFE}};

class VoiceWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, voice_.Create(kVoice, rig_.pane(), {0, 0, 120, 40}, 654321,
                                  [this](int32_t id, const std::vector<Variant>& args) {
                                    if (id == 1 && args.size() >= 2) {
                                      rig_.dialogs.VoiceStatus(args[0].AsInt(), args[1].AsInt());
                                    }
                                  }));
    rig_.dialogPane.voice = voice_.Dispatch();
  }
  void TearDown() override { SetEnvironmentVariableA("PEL_STANDIN_VOICE_RESULT", nullptr); }

  HWND Open(const std::string& user) {
    VoiceDialogFields f;
    f.serverAddress = "127.0.0.1";
    f.udpPort = 32001;
    f.user = user;
    rig_.dialogs.OpenVoiceConnection(f);
    return FindDialog(kTitle);
  }
  // Connect with the outcome the component is to report; the status it ends with.
  std::string Connect(HWND dialog, const char* outcome, const char* until) {
    SetEnvironmentVariableA("PEL_STANDIN_VOICE_RESULT", outcome);
    Click(dialog, kConnect);
    Pump(3000, [&] { return ItemText(dialog, kStatus) == until; });
    return ItemText(dialog, kStatus);
  }

  PaneRig rig_;
  win::HostedControl voice_;
};

TEST_F(VoiceWindow, ConnectsAndReportsThroughTheComponentsStatusEvents) {
  HWND dialog = Open("");
  ASSERT_NE(dialog, nullptr);
  // The stand-in's levels: maximum 100, level 50.
  EXPECT_EQ(SendDlgItemMessageA(dialog, kMic, TBM_GETRANGEMAX, 0, 0), 100);
  EXPECT_EQ(SendDlgItemMessageA(dialog, kSpeaker, TBM_GETPOS, 0, 0), 50);
  EXPECT_TRUE(ItemChecked(dialog, kListenOnly));
  EXPECT_TRUE(ItemEnabled(dialog, kListenSpeak));
  EXPECT_FALSE(ItemEnabled(dialog, kDisconnect));

  EXPECT_EQ(Connect(dialog, "1,0", "Connected"), "Connected");
  EXPECT_FALSE(ItemEnabled(dialog, kConnect));
  EXPECT_TRUE(ItemEnabled(dialog, kDisconnect));
  EXPECT_FALSE(ItemEnabled(dialog, kPortCheck));

  Click(dialog, kDisconnect);
  EXPECT_TRUE(Pump(3000, [&] { return ItemText(dialog, kStatus) == "Disconnected"; }));
  EXPECT_TRUE(ItemEnabled(dialog, kConnect));
  EXPECT_FALSE(ItemEnabled(dialog, kDisconnect));
  EXPECT_TRUE(ItemEnabled(dialog, kListenOnly));
  EXPECT_TRUE(rig_.messages.texts.empty());

  // A failure after an earlier code: the detail picks the message.
  EXPECT_EQ(Connect(dialog, "8,0", "Disconnected"), "Disconnected");
  EXPECT_EQ(Connect(dialog, "8,1", "Disconnected"), "Disconnected");
  EXPECT_EQ(rig_.messages.texts,
            (std::vector<std::string>{"Network problem. Check IP, port, router mapping or cable.",
                                      "Problem between K20m and Kelvanter. Check COM or AUX."}));

  // Escape ends the window; the component's last event finds no window.
  EXPECT_TRUE(PressEscape(dialog));
  EXPECT_FALSE(IsWindow(dialog));
  Pump(200);
  EXPECT_EQ(rig_.messages.texts.size(), 2u);
}

TEST_F(VoiceWindow, SliderActsWhenTheThumbIsLetGo) {
  HWND dialog = Open("");
  ASSERT_NE(dialog, nullptr);
  HWND mic = GetDlgItem(dialog, kMic);
  const auto micLevel = [this] { return voice_.Dispatch()->GetProperty(11).AsInt(); };
  ASSERT_EQ(micLevel(), 50);
  RECT thumb;
  SendMessageA(mic, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
  SendMessageA(mic, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(mic, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, y));
  const LRESULT dragged = SendMessageA(mic, TBM_GETPOS, 0, 0);
  ASSERT_GT(dragged, 50);
  EXPECT_EQ(micLevel(), 50) << "not while dragging";
  SendMessageA(mic, WM_LBUTTONUP, 0, MAKELPARAM(x + 40, y));
  EXPECT_EQ(micLevel(), dragged);
}

TEST_F(VoiceWindow, LimitedRootUserListensAndSpeaksWithTheChoiceLocked) {
  rig_.dialogPane.isLimit = 1;
  HWND dialog = Open("root");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(ItemChecked(dialog, kListenSpeak));
  EXPECT_FALSE(ItemChecked(dialog, kListenOnly));
  EXPECT_FALSE(ItemEnabled(dialog, kListenOnly));
  EXPECT_FALSE(ItemEnabled(dialog, kListenSpeak));
}

}  // namespace
}  // namespace pel::wintest
