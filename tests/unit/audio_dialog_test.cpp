// The Audio Connection dialog's logic over an in-memory window, fake wave devices and kvsim's
// UDP audio side: opening, Connect and Disconnect in both receive modes, every failure with
// its status and message, the port check, the sliders and the ways the window ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioResult.h"
#include "audio/AudioTeardown.h"
#include "audio/dialogs/AudioConnectionDlg.h"
#include "audio/dialogs/AudioResultMessage.h"
#include "audio/dialogs/DialogControls.h"
#include "pane/PaneDialogLink.h"
#include "pelprobe/MemoryDialogView.h"
#include "res/StringTable.h"
#include "support/AudioWire.h"
#include "support/ControlFakes.h"
#include "support/FakeDialogPane.h"
#include "support/FakeWaveDevices.h"
#include "support/FixedClock.h"
#include "support/Kvsim.h"
#include "support/PaneRig.h"

namespace pel {
namespace {

using Dlg = CAudioConnectionDlg;

constexpr int32_t kPagePort = 32001;
const char* const kNetworkProblem = "Network problem. Check IP, port, router mapping or cable.";
const char* const kBadPort = "Invalid parameter input. Check port.";

class AudioDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Right channel 40000, left 0x1234; a microphone line at 30000.
    system_.volume = 0x9C401234u;
    system_.mixer.sources = {MixerLine{0, 0, 201, kMixerSourceMicrophone, 2, 0}};
    system_.mixer.volumeControlOfLine = {{201, 61}};
    system_.mixer.values = {{61, {30000, 30000}}};
    dialog_ = std::make_unique<Dlg>(messages_, system_, pane_, pause_, clock_);
  }
  // A dialog destroyed while connected leaves a finisher using the fake devices: it must be
  // done before they go.
  void TearDown() override {
    dialog_.reset();
    EXPECT_TRUE(WaitForAudioFinishers(15000));
  }

  Dlg& dialog() { return *dialog_; }

  // The pane's refill and the window's creation; `port` is the pane's iUdpPort.
  void Open(int32_t port, int32_t type = 2, const std::string& address = "127.0.0.1") {
    AudioDialogFields fields;
    fields.serverAddress = address;
    fields.udpPort = port;
    fields.deviceType = type;
    fields.user = "root";
    fields.password = "";
    dialog().SetFields(fields);
    view_ = std::make_unique<probe::MemoryDialogView>(system_);
    ASSERT_TRUE(dialog().OnInitDialog(*view_));
  }

  void ChooseReceiveMode(int id) { view_->ChooseRadio(id, {Dlg::kIdTcp, Dlg::kIdUdp}); }
  void TypePort(const std::string& text) {
    view_->Click(dlg::kIdPortCheck, true);
    dialog().OnCommand(dlg::kIdPortCheck);
    view_->Type(dlg::kIdPort, text);
  }

  // The status texts shown, in order.
  std::vector<std::string> Statuses() const {
    std::vector<std::string> shown;
    const std::string prefix = "text " + std::to_string(dlg::kIdStatus) + " ";
    for (const std::string& line : view_->log()) {
      if (line.rfind(prefix, 0) == 0 && (shown.empty() || shown.back() != line.substr(prefix.size()))) {
        shown.push_back(line.substr(prefix.size()));
      }
    }
    return shown;
  }
  bool PaintedRightAfter(const std::string& status) const {
    const auto& log = view_->log();
    auto it = std::find(log.begin(), log.end(), "text " + std::to_string(dlg::kIdStatus) + " " + status);
    return it != log.end() && it + 1 != log.end() && *(it + 1) == "paint";
  }
  void ExpectConnectedControls(bool connected) {
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdConnect), !connected);
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdDisconnect), connected);
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdTcp), !connected);
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdUdp), !connected);
  }

  test::RecordingMessages messages_;
  test::FakeWaveSystem system_;
  test::CountingPause pause_;
  test::FixedClock clock_{0x01020304};
  test::FakeDialogPane pane_;
  std::unique_ptr<Dlg> dialog_;
  std::unique_ptr<probe::MemoryDialogView> view_;
};

TEST_F(AudioDialogTest, OpeningSetsSlidersDisablesAndShowsTheFields) {
  Open(kPagePort);
  for (int slider : {dlg::kIdMicSlider, dlg::kIdSpeakerSlider}) {
    EXPECT_EQ(view_->SliderRange(slider).min, 0);
    EXPECT_EQ(view_->SliderRange(slider).max, 65535);
  }
  EXPECT_EQ(view_->GetSliderPosition(dlg::kIdSpeakerSlider), 40000) << "the right channel";
  EXPECT_EQ(view_->GetSliderPosition(dlg::kIdMicSlider), 30000);
  EXPECT_FALSE(view_->IsEnabled(Dlg::kIdDisconnect));
  EXPECT_FALSE(view_->IsEnabled(dlg::kIdPort));
  EXPECT_TRUE(view_->IsEnabled(Dlg::kIdConnect));
  EXPECT_EQ(view_->GetText(dlg::kIdPort), "32001");
  EXPECT_EQ(view_->GetText(dlg::kIdStatus), "");
  EXPECT_FALSE(view_->GetCheck(dlg::kIdPortCheck));
  EXPECT_TRUE(view_->GetCheck(Dlg::kIdTcp)) << "receive mode TCP when the object is made";
  EXPECT_FALSE(view_->GetCheck(Dlg::kIdUdp));
}

TEST_F(AudioDialogTest, TcpModeConnectsSendOnlyAndLeavesTheViewerAlone) {
  test::KvsimScenario kv(test::UdpSection(""));
  Open(kv.udpPort());
  pane_.camera = 3;
  pane_.serverId = 7;
  dialog().OnCommand(Dlg::kIdConnect);
  EXPECT_EQ(dialog().lastResult(), AUDIO_OK);
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"", "Connecting....", "Connected"}));
  EXPECT_TRUE(PaintedRightAfter("Connecting...."));
  ExpectConnectedControls(true);
  EXPECT_TRUE(dialog().recorder().IsConnected());
  EXPECT_EQ(system_.outputOpens(), 0) << "no player in TCP mode";
  EXPECT_EQ(kv.waitForDatagrams(1).at(0), test::WireLogin("root", ""));

  dialog().OnCommand(Dlg::kIdDisconnect);
  EXPECT_EQ(Statuses().back(), "Disconnected");
  EXPECT_TRUE(PaintedRightAfter("Disconnecting...."));
  ExpectConnectedControls(false);
  EXPECT_FALSE(dialog().recorder().IsOpen());
  EXPECT_EQ(kv.waitForDatagrams(2).back(), test::WireRecord(3, 0));
  EXPECT_TRUE(pane_.streamAudio.empty());
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(system_.liveWindows(), 0);
}

TEST_F(AudioDialogTest, UdpModePlaysTheServerAndSwitchesStreamAudioOffMeanwhile) {
  test::KvsimScenario kv(test::UdpSection("echo\n"));
  Open(kv.udpPort());
  ChooseReceiveMode(Dlg::kIdUdp);
  dialog().OnCommand(Dlg::kIdConnect);
  ASSERT_EQ(dialog().lastResult(), AUDIO_OK);
  EXPECT_EQ(pane_.streamAudio, std::vector<int32_t>{0});
  ExpectConnectedControls(true);

  // A captured block goes out and comes back to be played.
  system_.Pump();
  ASSERT_TRUE(system_.input()->Capture(std::vector<uint8_t>(1400, 0x5A)));
  system_.Pump();
  for (int i = 0; i < 500 && (system_.output() == nullptr || system_.output()->writeCount() == 0); ++i) {
    system_.WaitAndPump(10);
  }
  ASSERT_NE(system_.output(), nullptr);
  ASSERT_EQ(system_.output()->writeCount(), 1u);
  EXPECT_EQ(system_.output()->written()[0][0], 0x5A);

  dialog().OnCommand(Dlg::kIdDisconnect);
  EXPECT_EQ(pane_.streamAudio, (std::vector<int32_t>{0, 1}));
  EXPECT_TRUE(system_.output()->closed());
  ExpectConnectedControls(false);
}

// Every way Connect can fail: the status ends "Disconnected", the message of the result shows,
// the capture is closed and Connect stays available.
TEST_F(AudioDialogTest, FailuresEndDisconnectedWithTheirMessage) {
  struct Case {
    const char* name;
    std::string udp;        // kvsim's UDP section
    int32_t type;
    std::string port;       // typed with the port check on; empty: kvsim's port
    int32_t camera;
    std::string address;
    unsigned inputDevices;
    int result;
    const char* message;
    size_t datagrams;       // what kvsim received
  };
  const Case cases[] = {
      {"denied", "login deny\n", 2, "", 1, "127.0.0.1", 1, AUDIO_DENIED,
       "Connection denied. Another user is already connected.", 1},
      {"wrong reply", "login wrong-kind\n", 2, "", 1, "127.0.0.1", 1, AUDIO_UNEXPECTED_REPLY,
       "Undefined error is received.", 1},
      {"port 9999", "", 2, "9999", 1, "127.0.0.1", 1, AUDIO_BAD_PARAMETER, kBadPort, 0},
      {"port 65536", "", 2, "65536", 1, "127.0.0.1", 1, AUDIO_BAD_PARAMETER, kBadPort, 0},
      {"empty port", "", 2, "-", 1, "127.0.0.1", 1, AUDIO_BAD_PARAMETER, kBadPort, 0},
      {"no camera", "", 2, "", 0, "127.0.0.1", 1, AUDIO_BAD_PARAMETER, kBadPort, 0},
      {"host name", "", 2, "", 1, "localhost", 1, AUDIO_BAD_PARAMETER, kBadPort, 0},
      {"voice kit type", "", 0, "", 1, "127.0.0.1", 1, AUDIO_NOT_OPEN,
       "No audio encoder is present.", 0},
      {"no microphone", "", 9, "", 1, "127.0.0.1", 0, AUDIO_NO_DEVICE,
       "No audio devices are present. Check audio device or audio device driver.", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.texts.clear();
    system_.inputDevices = c.inputDevices;
    pane_.camera = c.camera;
    test::KvsimScenario kv(test::UdpSection(c.udp));
    Open(kv.udpPort(), c.type, c.address);
    if (!c.port.empty()) TypePort(c.port == "-" ? "" : c.port);
    const int opensBefore = system_.inputOpens();
    dialog().OnCommand(Dlg::kIdConnect);

    EXPECT_EQ(dialog().lastResult(), c.result);
    EXPECT_EQ(messages_.texts, std::vector<std::string>{c.message});
    EXPECT_EQ(view_->GetText(dlg::kIdStatus), "Disconnected");
    EXPECT_FALSE(dialog().recorder().IsOpen());
    ExpectConnectedControls(false);
    EXPECT_EQ(kv.waitForDatagrams(c.datagrams, c.datagrams == 0 ? 200 : 5000).size(),
              c.datagrams);
    if (c.datagrams == 0 && c.result != AUDIO_BAD_PARAMETER) {
      EXPECT_EQ(system_.inputOpens(), opensBefore) << "nothing opened";
    }
    EXPECT_EQ(system_.liveWindows(), 0);
  }
}

// A pane without a control has no camera or server to name: the capture is closed again and
// the dialog ends disconnected, with no message (the port was fine).
TEST_F(AudioDialogTest, WithoutAControlConnectClosesTheCaptureSilently) {
  test::KvsimScenario kv(test::UdpSection(""));
  Open(kv.udpPort());
  pane_.camera = -1;
  pane_.serverId = -1;
  const int opensBefore = system_.inputOpens();
  dialog().OnCommand(Dlg::kIdConnect);
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(system_.inputOpens(), opensBefore + 1);
  EXPECT_FALSE(dialog().recorder().IsOpen());
  EXPECT_EQ(view_->GetText(dlg::kIdStatus), "Disconnected");
  ExpectConnectedControls(false);
  EXPECT_EQ(kv.waitForDatagrams(1, 200).size(), 0u);
  EXPECT_EQ(system_.liveWindows(), 0);
}

TEST_F(AudioDialogTest, SilentServerIsANetworkProblemAfterFiveSeconds) {
  test::KvsimScenario kv(test::UdpSection("login silent\n"));
  Open(kv.udpPort());
  dialog().OnCommand(Dlg::kIdConnect);
  EXPECT_EQ(dialog().lastResult(), AUDIO_TIMEOUT);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{kNetworkProblem});
  EXPECT_EQ(view_->GetText(dlg::kIdStatus), "Disconnected");
  EXPECT_FALSE(dialog().recorder().IsOpen());
}

TEST_F(AudioDialogTest, PortCheckEnablesTheEditAndATypedPortIsUsed) {
  test::KvsimScenario kv(test::UdpSection(""));
  Open(kPagePort);
  TypePort(std::to_string(kv.udpPort()));
  EXPECT_TRUE(view_->IsEnabled(dlg::kIdPort));
  dialog().OnCommand(Dlg::kIdConnect);
  ASSERT_EQ(dialog().lastResult(), AUDIO_OK) << "the typed port, not the page's";
  dialog().OnCommand(Dlg::kIdDisconnect);

  view_->Type(dlg::kIdPort, "40000");
  view_->Click(dlg::kIdPortCheck, false);
  dialog().OnCommand(dlg::kIdPortCheck);
  EXPECT_FALSE(view_->IsEnabled(dlg::kIdPort));
  EXPECT_EQ(view_->GetText(dlg::kIdPort), "32001") << "back to iUdpPort";
}

TEST_F(AudioDialogTest, SlidersActOnRelease) {
  Open(kPagePort);
  view_->Drag(dlg::kIdMicSlider, 1234);
  view_->Drag(dlg::kIdSpeakerSlider, 4321);
  EXPECT_EQ(system_.mixer.values[61], (std::vector<uint32_t>{30000, 30000})) << "not while dragging";
  dialog().OnSliderReleased(dlg::kIdMicSlider);
  EXPECT_EQ(system_.mixer.values[61], (std::vector<uint32_t>{1234, 1234}));
  EXPECT_EQ(system_.volume, 0x9C401234u);
  dialog().OnSliderReleased(dlg::kIdSpeakerSlider);
  EXPECT_EQ(system_.volume, (4321u << 16) | 4321u);
}

TEST_F(AudioDialogTest, ExitAndParentDestructionEndTheConnection) {
  for (bool exitButton : {true, false}) {
    SCOPED_TRACE(exitButton ? "EXIT" : "destroyed with the pane");
    pane_.streamAudio.clear();
    test::KvsimScenario kv(test::UdpSection(""));
    Open(kv.udpPort());
    ChooseReceiveMode(Dlg::kIdUdp);
    dialog().OnCommand(Dlg::kIdConnect);
    ASSERT_EQ(dialog().lastResult(), AUDIO_OK);
    if (exitButton) {
      dialog().OnCommand(dlg::kIdOk);
      EXPECT_TRUE(view_->destroyed());
    } else {
      dialog().OnDestroy();
    }
    EXPECT_FALSE(dialog().HasWindow());
    EXPECT_FALSE(dialog().recorder().IsOpen());
    EXPECT_EQ(kv.waitForDatagrams(2).back(), test::WireRecord(3, 0));
    const std::vector<int32_t> switched =
        exitButton ? std::vector<int32_t>{0, 1} : std::vector<int32_t>{0};
    EXPECT_EQ(pane_.streamAudio, switched);
    dialog().OnDestroy();  // the window's own destruction after EXIT changes nothing
    EXPECT_EQ(kv.datagrams().size(), 2u);
  }
}

TEST_F(AudioDialogTest, ReceiveModeOutlivesTheWindowAndFieldsAreRefilled) {
  Open(kPagePort);
  ChooseReceiveMode(Dlg::kIdUdp);
  dialog().OnCommand(dlg::kIdOk);
  Open(33333);
  EXPECT_TRUE(view_->GetCheck(Dlg::kIdUdp));
  EXPECT_EQ(view_->GetText(dlg::kIdPort), "33333");
  EXPECT_EQ(view_->GetText(dlg::kIdStatus), "");
}

TEST(AudioResultMessage, EveryCodeHasItsString) {
  const std::pair<int, int> table[] = {
      {-15, 2052}, {-14, 2052}, {-13, 2051}, {-12, 2023}, {-11, 2050}, {-10, 2049},
      {-5, 2048},  {-4, 2047},  {-3, 2046},  {-1, 2045},  {-2, 2053},  {-6, 2053},
      {-9, 2053},  {-16, 2053}, {-17, 2053}, {0, 2053},   {1, 2053},   {42, 2053},
  };
  for (const auto& [code, id] : table) EXPECT_EQ(AudioResultStringId(code), id) << code;
}

// The dialogs' link to a real pane started against kvsim, and to the control's viewer.
TEST(PaneDialogLink, ReadsThePaneAndSwitchesTheViewersStreamAudio) {
  test::PaneRig rig;
  ASSERT_TRUE(rig.Start(test::PaneScenario("0x00F1", {"NUM_OF_CAM = 6"}, 1, {"IsLimit=1"})));
  PaneDialogLink link(rig.pane, rig.ctrl().viewer());
  EXPECT_EQ(link.GetSelectedCamera(), rig.ctrl().iSelCam());
  EXPECT_EQ(link.GetServerId(), rig.ctrl().Properties().iSvrID);
  EXPECT_EQ(link.IsLimit(), 1);
  EXPECT_EQ(link.VoiceControl(), nullptr) << "made by the first Voice button";
  rig.control.log.Clear();
  link.EnableStreamAudio(0);
  link.EnableStreamAudio(1);
  EXPECT_EQ(rig.control.log.LinesOf("viewer"),
            (std::vector<std::string>{"viewer call 295 (0)", "viewer call 295 (1)"}));
}

}  // namespace
}  // namespace pel
