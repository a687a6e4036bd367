// The Voice Connection dialog over a recording voice component, the pane's voice status
// handler, and the Download dialog's command line.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "audio/dialogs/DialogControls.h"
#include "audio/dialogs/VoiceConnectionDlg.h"
#include "audio/dialogs/VoiceKitDownloadDlg.h"
#include "hosted/NvwVoiceDispids.h"
#include "pelprobe/MemoryDialogView.h"
#include "ports/ProcessStarter.h"
#include "support/ControlFakes.h"
#include "support/FakeDialogPane.h"
#include "support/FakeWaveDevices.h"

namespace pel {
namespace {

using Dlg = CVoiceConnectionDlg;
namespace vd = voice_dispid;

class VoiceDialogTest : public ::testing::Test {
 protected:
  VoiceDialogTest() {
    voice_.Preset(vd::kSpeakerLevelMax, Variant::I4(255));
    voice_.Preset(vd::kMicLevelMax, Variant::I4(127));
    voice_.Preset(vd::kSpeakerLevel, Variant::I4(200));
    voice_.Preset(vd::kMicLevel, Variant::I4(100));
    pane_.voice = &voice_;
  }

  void Open(int32_t isLimit = 0, const std::string& user = "", const std::string& password = "") {
    pane_.isLimit = isLimit;
    VoiceDialogFields fields;
    fields.serverAddress = "10.0.0.5";
    fields.udpPort = 32001;
    fields.user = user;
    fields.password = password;
    dialog_.SetFields(fields);
    view_ = std::make_unique<probe::MemoryDialogView>(system_);
    ASSERT_TRUE(dialog_.OnInitDialog(*view_));
    log_.Clear();
  }

  // The voice component's lines ("voice put 2 32001", "voice call 16").
  std::vector<std::string> Calls() const { return log_.LinesOf("voice"); }
  std::string Status() const { return view_->GetText(dlg::kIdStatus); }

  test::CallLog log_;
  test::RecordingDispatch voice_{"voice", log_};
  test::FakeDialogPane pane_;
  test::RecordingMessages messages_;
  test::FakeWaveSystem system_;
  Dlg dialog_{messages_, pane_};
  std::unique_ptr<probe::MemoryDialogView> view_;
};

TEST_F(VoiceDialogTest, OpeningInitialisesTheComponentAndTheControls) {
  pane_.isLimit = 0;
  VoiceDialogFields fields;
  fields.udpPort = 32001;
  dialog_.SetFields(fields);
  probe::MemoryDialogView view(system_);
  ASSERT_TRUE(dialog_.OnInitDialog(view));
  EXPECT_EQ(log_.LinesOf("voice").front(), "voice put 13 TRUE") << "bDialogInit first";
  EXPECT_FALSE(dialog_.closing());
  EXPECT_EQ(view.SliderRange(dlg::kIdSpeakerSlider).max, 255);
  EXPECT_EQ(view.SliderRange(dlg::kIdMicSlider).max, 127);
  EXPECT_EQ(view.GetSliderPosition(dlg::kIdSpeakerSlider), 200);
  EXPECT_EQ(view.GetSliderPosition(dlg::kIdMicSlider), 100);
  for (int slider : {dlg::kIdSpeakerSlider, dlg::kIdMicSlider}) {
    EXPECT_NE(std::find(view.log().begin(), view.log().end(),
                        "tics " + std::to_string(slider) + " 0"),
              view.log().end());
  }
  EXPECT_FALSE(view.IsEnabled(Dlg::kIdDisconnect));
  EXPECT_FALSE(view.IsEnabled(dlg::kIdPort));
  EXPECT_EQ(view.GetText(dlg::kIdPort), "32001");
  EXPECT_EQ(dialog_.lastCode(), -1);
}

TEST_F(VoiceDialogTest, ListenModeAtOpeningFollowsTheLimitAndTheUser) {
  struct Case {
    int32_t isLimit;
    const char* user;
    int checked;
    bool radiosEnabled;
  };
  const Case cases[] = {
      {0, "", Dlg::kIdListenOnly, true},
      {1, "root", Dlg::kIdListenAndSpeak, false},
      {1, "demo", Dlg::kIdListenOnly, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.user);
    Open(c.isLimit, c.user);
    EXPECT_TRUE(view_->GetCheck(c.checked));
    EXPECT_FALSE(view_->GetCheck(c.checked == Dlg::kIdListenOnly ? Dlg::kIdListenAndSpeak
                                                                   : Dlg::kIdListenOnly));
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdListenOnly), c.radiosEnabled);
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdListenAndSpeak), c.radiosEnabled);
  }
}

TEST_F(VoiceDialogTest, ConnectHandsOverTheSettingsInOrderThenLocksTheControls) {
  struct Case {
    bool portCheck;
    std::string typed;
    int clickedMode;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {false, "", Dlg::kIdListenOnly,
       {"voice put 2 32001", "voice put 3 \"\"", "voice put 4 \"\"", "voice put 1 \"10.0.0.5\"",
        "voice call 16"}},
      {true, "40000", Dlg::kIdListenAndSpeak,
       {"voice put 2 40000", "voice put 3 \"root\"", "voice put 4 \"\"",
        "voice put 1 \"10.0.0.5\"", "voice call 16"}},
  };
  for (const Case& c : cases) {
    Open(0, "demo", "pw");
    view_->ChooseRadio(c.clickedMode, {Dlg::kIdListenOnly, Dlg::kIdListenAndSpeak});
    dialog_.OnCommand(c.clickedMode);
    if (c.portCheck) {
      view_->Click(dlg::kIdPortCheck, true);
      dialog_.OnCommand(dlg::kIdPortCheck);
      EXPECT_TRUE(view_->IsEnabled(dlg::kIdPort));
      view_->Type(dlg::kIdPort, c.typed);
    }
    dialog_.OnCommand(Dlg::kIdConnect);
    EXPECT_EQ(Calls(), c.calls);
    EXPECT_EQ(Status(), "Connecting....");
    for (int id : {Dlg::kIdConnect, dlg::kIdPortCheck, dlg::kIdPort, Dlg::kIdListenOnly,
                   Dlg::kIdListenAndSpeak}) {
      EXPECT_FALSE(view_->IsEnabled(id)) << id;
    }
    EXPECT_TRUE(view_->IsEnabled(Dlg::kIdDisconnect));
  }
}

TEST_F(VoiceDialogTest, PortOutsideTheRangeAsksNothingOfTheComponent) {
  for (const char* port : {"9999", "65536", ""}) {
    SCOPED_TRACE(port);
    Open();
    messages_.texts.clear();
    view_->Click(dlg::kIdPortCheck, true);
    dialog_.OnCommand(dlg::kIdPortCheck);
    view_->Type(dlg::kIdPort, port);
    dialog_.OnCommand(Dlg::kIdConnect);
    EXPECT_EQ(messages_.texts, std::vector<std::string>{"Invalid parameter input. Check port."});
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(view_->IsEnabled(Dlg::kIdConnect));
  }
}

TEST_F(VoiceDialogTest, DisconnectAndExit) {
  Open();
  dialog_.OnCommand(Dlg::kIdDisconnect);
  EXPECT_EQ(Calls(), std::vector<std::string>{"voice call 17"});
  EXPECT_EQ(Status(), "Disconnecting....");
  EXPECT_NE(std::find(view_->log().begin(), view_->log().end(), "paint"), view_->log().end());

  log_.Clear();
  dialog_.OnCommand(dlg::kIdOk);
  EXPECT_TRUE(view_->destroyed());
  EXPECT_TRUE(dialog_.closing());
  EXPECT_FALSE(dialog_.HasWindow());
  EXPECT_EQ(Calls(), std::vector<std::string>{"voice call 17"});
  dialog_.OnDestroy();
  EXPECT_EQ(Calls().size(), 1u) << "the window's own destruction after EXIT adds nothing";
}

TEST_F(VoiceDialogTest, AComponentGoneBeforeTheWindowIsNotCalled) {
  Open();
  pane_.voice = nullptr;  // the pane's destruction removes the component first
  dialog_.OnDestroy();
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(dialog_.closing());
}

TEST_F(VoiceDialogTest, SlidersSetTheComponentsLevels) {
  Open();
  view_->Drag(dlg::kIdMicSlider, 17);
  view_->Drag(dlg::kIdSpeakerSlider, 71);
  dialog_.OnSliderReleased(dlg::kIdMicSlider);
  dialog_.OnSliderReleased(dlg::kIdSpeakerSlider);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"voice put 11 17", "voice put 12 71"}));
}

TEST_F(VoiceDialogTest, WithoutAComponentNothingBreaks) {
  pane_.voice = nullptr;
  Open();
  EXPECT_EQ(view_->SliderRange(dlg::kIdSpeakerSlider).max, 0);
  dialog_.OnCommand(Dlg::kIdConnect);
  EXPECT_EQ(Status(), "Connecting....");
  EXPECT_TRUE(Calls().empty());
}

// The pane's voice status handler.
TEST_F(VoiceDialogTest, StatusEndedReenablesWhatTheLimitAllows) {
  struct Case {
    int32_t isLimit;
    bool portCheck;
  };
  for (const Case c : {Case{0, false}, Case{0, true}, Case{1, true}}) {
    SCOPED_TRACE(c.isLimit * 10 + c.portCheck);
    Open(c.isLimit);
    if (c.portCheck) {
      view_->Click(dlg::kIdPortCheck, true);
      dialog_.OnCommand(dlg::kIdPortCheck);
    }
    dialog_.OnCommand(Dlg::kIdConnect);
    dialog_.OnVoiceStatus(Dlg::kStatusEnded, 0);
    EXPECT_EQ(Status(), "Disconnected");
    EXPECT_FALSE(view_->IsEnabled(Dlg::kIdDisconnect));
    EXPECT_TRUE(view_->IsEnabled(Dlg::kIdConnect));
    EXPECT_TRUE(view_->IsEnabled(dlg::kIdPortCheck));
    EXPECT_EQ(view_->IsEnabled(dlg::kIdPort), c.portCheck);
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdListenOnly), c.isLimit == 0);
    EXPECT_EQ(view_->IsEnabled(Dlg::kIdListenAndSpeak), c.isLimit == 0);
    EXPECT_TRUE(messages_.texts.empty());
  }
}

TEST_F(VoiceDialogTest, StatusFailedShowsTheMessageOfTheLastCode) {
  struct Case {
    int32_t last;  // 0: no event before the failure
    int32_t detail;
    const char* message;
  };
  const Case cases[] = {
      {0, 0, "Undefined error is received."},
      {5, 0, "All channel is full."},
      {9, 0, "Wrong ID or Password."},
      {10, 0, "Permission is denied."},
      {3, 1, "Problem between K20m and Kelvanter. Check COM or AUX."},
      {3, 0, "Network problem. Check IP, port, router mapping or cable."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Dlg dialog(messages_, pane_);
    VoiceDialogFields fields;
    fields.udpPort = 32001;
    dialog.SetFields(fields);
    probe::MemoryDialogView view(system_);
    dialog.OnInitDialog(view);
    messages_.texts.clear();
    dialog.OnCommand(Dlg::kIdConnect);
    if (c.last != 0) {
      dialog.OnVoiceStatus(c.last, 0);
      EXPECT_EQ(view.GetText(dlg::kIdStatus), "Connected");
      EXPECT_EQ(dialog.lastCode(), c.last);
    }
    dialog.OnVoiceStatus(Dlg::kStatusFailed, c.detail);
    EXPECT_EQ(view.GetText(dlg::kIdStatus), "Disconnected");
    EXPECT_TRUE(view.IsEnabled(Dlg::kIdConnect));
    EXPECT_EQ(messages_.texts, std::vector<std::string>{c.message});
  }
}

TEST_F(VoiceDialogTest, StatusIsIgnoredWhileClosingOrWithoutAWindow) {
  dialog_.OnVoiceStatus(1, 0);
  EXPECT_EQ(dialog_.lastCode(), -1) << "never opened";
  Open();
  dialog_.OnCommand(dlg::kIdOk);
  dialog_.OnVoiceStatus(Dlg::kStatusFailed, 0);
  dialog_.OnVoiceStatus(4, 0);
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(dialog_.lastCode(), -1);
  Open();
  EXPECT_FALSE(dialog_.closing()) << "a new window takes events again";
  dialog_.OnVoiceStatus(4, 0);
  EXPECT_EQ(dialog_.lastCode(), 4);
}

class RecordingProcesses : public IProcessStarter {
 public:
  bool StartProcess(const std::string& commandLine) override {
    lines.push_back(commandLine);
    return starts;
  }
  std::vector<std::string> lines;
  bool starts = true;
};

TEST(VoiceKitDownloadDlg, DownloadOpensTheAddressInTheUrlHandler) {
  test::RecordingMessages messages;
  RecordingProcesses processes;
  CVoiceKitDownloadDlg dialog(messages, processes, 30);
  EXPECT_EQ(dialog.value(), 30);
  // The host is the build's choice (example.com unless configured).
  const std::string url = CVoiceKitDownloadDlg::DownloadUrl();
  const std::string path = "/app_link/download/KvVocCtl.exe";
  ASSERT_GT(url.size(), path.size() + 7);
  EXPECT_EQ(url.substr(0, 7), "http://");
  EXPECT_EQ(url.substr(url.size() - path.size()), path);
  EXPECT_EQ(url.find(' '), std::string::npos);
  EXPECT_FALSE(dialog.OnCommand(CVoiceKitDownloadDlg::kIdDownload)) << "the dialog stays";
  EXPECT_EQ(processes.lines,
            std::vector<std::string>{"rundll32.exe url.dll,FileProtocolHandler " + url});
  EXPECT_TRUE(messages.texts.empty());

  processes.starts = false;
  dialog.OnDownload();
  EXPECT_EQ(messages.texts, std::vector<std::string>{"CreateProcess failed."});
  EXPECT_TRUE(dialog.OnCommand(CVoiceKitDownloadDlg::kIdOk));
  EXPECT_EQ(processes.lines.size(), 2u);
}

}  // namespace
}  // namespace pel
