// The Relay Output Control dialog against kvsim: the state page read into the boxes, every
// click sending the whole state word, hidden and disabled outputs, names, long pages, status
// and request failures and the lockout after a failed read; and the pane's Relay and Voice
// buttons.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "relay/RelayOutputDlg.h"
#include "relay/RelayStatePage.h"
#include "support/ControlFakes.h"
#include "support/HttpPeers.h"
#include "support/PaneRig.h"

namespace pel::test {
namespace {

const char* kStatePath = "/asp-get/kvdioget.asp?KvModId=0";

// The state page with `lines`, and any other path (the relay request) answering `cgi`.
std::string RelayScenario(const std::vector<std::string>& lines, const std::string& cgi = "body\nOK\nend\n") {
  return RouteWithBody(kStatePath, lines) + "route *\n" + cgi;
}

// The path of each recorded request ("/cgi-bin/...").
std::vector<std::string> Targets(const KvsimScenario& kv, size_t count) {
  std::vector<std::string> targets;
  for (const std::string& r : WaitForRequests(kv, count)) {
    // "GET http://127.0.0.1:PORT/path HTTP/1.1": the path.
    const size_t start = r.find('/', r.find("//") + 2);
    targets.push_back(r.substr(start, r.find(' ', start) - start));
  }
  return targets;
}

std::string Cgi(const char* doData) {
  return std::string("/cgi-bin/kvdoctr.cgi?ServerId=0&DoData=") + doData + "&KvCgiVer=0x0001";
}

struct RelayDialog : ::testing::Test {
  RecordingMessages messages;
  CRelayOutputDlg dialog{messages};
  RelayBoxes boxes;
  std::unique_ptr<KvsimScenario> kv;

  // Serves `scenario` and opens the dialog on module 0 with `outputs` and `rights`.
  bool Open(const std::string& scenario, int32_t outputs = 6, uint32_t rights = 0x3F) {
    kv = std::make_unique<KvsimScenario>(scenario);
    RelayDialogSettings s;
    s.serverAddress = "127.0.0.1";
    s.serverPort = kv->port();
    s.moduleNumber = 0;
    s.outputCount = outputs;
    s.rightsMask = rights;
    dialog.SetSettings(s);
    return Reopen();
  }
  bool Reopen() {
    boxes = RelayBoxes();
    return dialog.OnInitDialog(boxes);
  }
  void Click(int box) {
    ASSERT_TRUE(boxes.Click(box)) << box;
    dialog.OnCommand(CRelayOutputDlg::kFirstBoxId + box);
  }
  // Each box as its check state and "e" enabled, "d" disabled or "h" hidden.
  std::string Boxes() {
    std::string state;
    for (int n = 0; n < 6; ++n) {
      state += (n ? " " : "") + std::to_string(boxes.check(n));
      state += !boxes.visible(n) ? "h" : boxes.enabled(n) ? "e" : "d";
    }
    return state;
  }
};

TEST_F(RelayDialog, ClicksSendTheWholeStateWord) {
  ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0x05"})));
  EXPECT_EQ(Boxes(), "1e 0e 1e 0e 0e 0e");
  Click(1);
  Click(0);
  EXPECT_EQ(Targets(*kv, 3), (std::vector<std::string>{kStatePath, Cgi("0x07"), Cgi("0x06")}));
  EXPECT_EQ(dialog.dwDoData(), 0x06u);
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(dialog.sendOutcome(), RelayOutcome::kDone);

  // Closed and opened again: the boxes show the page, not what was ticked before.
  dialog.OnOK();
  EXPECT_TRUE(boxes.destroyed());
  EXPECT_FALSE(dialog.HasWindow());
  ASSERT_TRUE(Reopen());
  EXPECT_EQ(Boxes(), "1e 0e 1e 0e 0e 0e");
}

TEST_F(RelayDialog, HiddenAndDisabledBoxesKeepTheirBits) {
  ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0xB0"}), 4, 0x01));  // bit 7 and outputs 5, 6 on
  EXPECT_EQ(Boxes(), "0e 0d 0d 0d 1h 1h");
  EXPECT_FALSE(boxes.Click(1));
  Click(0);
  EXPECT_EQ(Targets(*kv, 2).back(), Cgi("0xb1"));
}

TEST_F(RelayDialog, NamesFromThePage) {
  ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0", "DONAME0=\"Gate\"", "DONAME2=\"\"",
                                  "DONAME3=\"" + std::string(300, 'n') + "\"",
                                  "DONAME5=\"Pump"})));
  EXPECT_EQ(boxes.text(0), "Gate");
  EXPECT_EQ(boxes.text(1), "DO 2");
  EXPECT_EQ(boxes.text(2), "");
  EXPECT_EQ(boxes.text(3), std::string(255, 'n'));
  EXPECT_EQ(boxes.text(5), "DO 6");  // no closing quote
}

TEST_F(RelayDialog, PageLongerThanTheBufferAndMissingKey) {
  ASSERT_TRUE(Open(RouteWithBody(kStatePath, {std::string(1100, '#'), "DO_DATA=0x3F"}) +
                   "route *\nbody\nOK\nend\n"));
  EXPECT_EQ(Boxes(), "0e 0e 0e 0e 0e 0e");
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(RelayDialog, FailedReadsLockTheBoxes) {
  struct Case {
    std::string scenario;  // empty: a closed port
    int32_t module;
    std::string message;
  };
  const std::string path = kStatePath;
  const Case cases[] = {
      {"route /nothing\n", 0, "File not found (" + path + ")"},
      {"auth a:b\nroute *\n", 0, "Authorization Failed. (" + path + ")"},
      {"", 0, "GetAspWp (" + path + ") read failed."},
      {"route *\n", -1, "Module ID init failed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0x3"})));  // an earlier opening ticked boxes
    messages.texts.clear();
    kv = std::make_unique<KvsimScenario>(c.scenario.empty() ? "route /\n" : c.scenario);
    RelayDialogSettings s = dialog.settings();
    s.serverPort = c.scenario.empty() ? ClosedLoopbackPort() : kv->port();
    s.moduleNumber = c.module;
    dialog.SetSettings(s);
    EXPECT_FALSE(Reopen());
    EXPECT_EQ(messages.texts, std::vector<std::string>{c.message});
    EXPECT_EQ(dialog.dwDoData(), 0u);
    EXPECT_EQ(Boxes(), "0d 0d 0d 0d 0d 0d");
    // Nothing is sent on an unread state word, not even on a command.
    boxes.SetBoxCheck(0, 1);
    dialog.OnCommand(203);
    EXPECT_EQ(dialog.sendOutcome(), RelayOutcome::kNone);
    if (c.module < 0) {
      EXPECT_TRUE(kv->requests().empty());
    } else if (!c.scenario.empty()) {
      EXPECT_EQ(WaitForRequests(*kv, 1).size(), 1u);
    }
  }
}

TEST_F(RelayDialog, RelayRequestFailures) {
  struct Case {
    std::string cgi;
    std::string message;
  };
  const Case cases[] = {
      {"status 500 Internal Server Error\n", "HTTP/1.1 500 Error (kvdoctl.cgi)"},
      {"body-repeat 2000 x\n", "KvDoCtrCgiWp read failed."},  // beyond HttpGetSized's buffer
      {"raw\nend\n", "KvDoCtrCgiWp read failed."},             // closed without an answer
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cgi);
    messages.texts.clear();
    ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0x1"}, c.cgi)));
    Click(2);
    EXPECT_EQ(messages.texts, std::vector<std::string>{c.message});
    EXPECT_EQ(boxes.check(2), 1);  // no roll-back
    EXPECT_EQ(Targets(*kv, 2).back(), Cgi("0x05"));
  }
}

TEST(RelayStatePageTest, PathsAndParsing) {
  EXPECT_EQ(RelayStatePath(-1), "/asp-get/kvdioget.asp?KvModId=-1");
  EXPECT_EQ(RelayRequestPath(12, 0x1FF), "/cgi-bin/kvdoctr.cgi?ServerId=12&DoData=0xff&KvCgiVer=0x0001");
  static const char kPage[] = "DONAME1=\"A\0B\" DO_DATA=0x1234";
  const RelayStateValues v = ParseRelayStatePage(PageText(kPage, sizeof kPage - 1));
  EXPECT_EQ(v.dwDoData, 0x1234u);
  EXPECT_EQ(v.names[1], std::optional<std::string>("A"));  // a name ends at a NUL byte
  EXPECT_FALSE(v.names[0].has_value());
}

TEST(PaneButtons, RelayButtonOpensTheDialogOnce) {
  PaneRig refused;
  ASSERT_TRUE(refused.Start(PaneScenario("0x00F1", {"NUM_OF_CAM = 6"})));
  refused.Click(kButtonRelay);
  EXPECT_EQ(refused.messages(), std::vector<std::string>{"No Permission"});
  EXPECT_EQ(refused.dialogs.relayOpens, 0);

  PaneRig rig;
  ASSERT_TRUE(rig.Start(PaneScenario("0x00F5", {"NUM_OF_CAM = 6", "NUM_OF_DO = 4"}) +
                        RelayScenario({"DO_DATA=0x2"})));
  rig.Click(kButtonRelay);
  EXPECT_EQ(rig.pane.Button(kButtonRelay).GetState(), kSkinNormal);
  rig.Click(kButtonRelay);  // its window is still there
  EXPECT_EQ(rig.dialogs.relayOpens, 1);
  const RelayDialogSettings& s = rig.pane.RelayDialog().settings();
  EXPECT_EQ(s.serverAddress + ":" + std::to_string(s.serverPort),
            "127.0.0.1:" + std::to_string(rig.kv->port()));
  EXPECT_EQ(s.moduleNumber, 0);
  EXPECT_EQ(s.proxyPort, 8080);
  EXPECT_EQ(s.outputCount, 4);
  EXPECT_EQ(s.rightsMask, 0x3Fu);
  EXPECT_EQ(rig.dialogs.relayBoxes.check(1), 1);
  EXPECT_FALSE(rig.dialogs.relayBoxes.visible(4));
  EXPECT_TRUE(rig.messages().empty());
}

TEST(PaneButtons, VoiceButtonByDeviceType) {
  struct Case {
    const char* property0;  // 0x00F1 view only, 0x00F9 view and audio
    std::string device;
    std::string user;
    std::string message;
    int audio, voice, downloads;
  };
  const Case cases[] = {
      {"0x00F1", "AUDIODEVICETYPE=1", "", "No Permission", 0, 0, 0},
      {"0x00F9", "AUDIODEVICETYPE=2", "guest", "No Permission", 0, 0, 0},
      {"0x00F9", "AUDIODEVICETYPE=9", "root", "", 1, 0, 0},
      {"0x00F1", "TTYS1_MODE=\"audio\"", "", "No Permission", 0, 0, 0},
      {"0x00F9", "", "", "Voice device is not installed.", 0, 0, 0},
      {"0x00F9", "TTYS1_MODE=\"audio\"", "", "", 0, 1, 0},
      {"0x00F9", "TTYS1_MODE=\"audio\"", "not installed", "", 0, 0, 1},
      {"0x00F9", "AUDIODEVICETYPE=5", "", "Unknown voice device", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device + " " + c.user);
    PaneRig r;
    r.view.voiceFails = c.user == "not installed";
    r.ctrl().SetStrUserID(c.user);
    ASSERT_TRUE(r.Start(PaneScenario(c.property0, {"NUM_OF_CAM = 6"}, 1, {c.device})));
    r.Click(kButtonVoice);
    r.Click(kButtonVoice);  // never a second window
    EXPECT_EQ(r.messages(), c.message.empty() ? std::vector<std::string>{}
                                              : std::vector<std::string>(2, c.message));
    EXPECT_EQ(static_cast<int>(r.dialogs.audio.size()), c.audio);
    EXPECT_EQ(static_cast<int>(r.dialogs.voice.size()), c.voice);
    EXPECT_EQ(r.dialogs.downloads, std::vector<int32_t>(2 * c.downloads, 30));
    EXPECT_EQ(r.pane.VoiceControl() != nullptr, c.voice != 0);
  }
}

TEST(PaneButtons, VoiceDialogFieldsFollowIsLimit) {
  for (int limit : {0, 1}) {
    for (const char* device : {"AUDIODEVICETYPE=1", "TTYS0_MODE=\"a\""}) {
      PaneRig r;
      r.ctrl().SetStrUserID("root");
      r.ctrl().SetStrUserPWD("pw");
      ASSERT_TRUE(r.Start(PaneScenario("0x00F9", {"NUM_OF_CAM = 6"}, 1,
                                       {device, "UDPPORT=40000", "IsLimit=" + std::to_string(limit)})));
      r.Click(kButtonVoice);
      EXPECT_EQ(r.pane.Button(kButtonVoice).GetState(), kSkinNormal);
      if (!r.dialogs.audio.empty()) {
        const AudioDialogFields& a = r.dialogs.audio[0];
        EXPECT_EQ(a.pane, &r.pane);
        EXPECT_EQ(a.serverAddress + ":" + std::to_string(a.udpPort), "127.0.0.1:40000");
        EXPECT_EQ(a.deviceType, 1);
        EXPECT_EQ(a.user + "/" + a.password, limit == 1 ? "root/pw" : "root/");
        EXPECT_FALSE(a.portCheck);
      } else {
        ASSERT_EQ(r.dialogs.voice.size(), 1u);
        const VoiceDialogFields& v = r.dialogs.voice[0];
        EXPECT_EQ(v.serverAddress + ":" + std::to_string(v.udpPort), "127.0.0.1:40000");
        EXPECT_EQ(v.user + "/" + v.password, limit == 1 ? "root/pw" : "/");
        EXPECT_EQ(r.view.childIds[-1], 654321);
        r.pane.OnVoiceStatus(8, 1);
        EXPECT_EQ(r.dialogs.statuses, (std::vector<std::pair<int32_t, int32_t>>{{8, 1}}));
        r.pane.OnDestroy();
        EXPECT_TRUE(r.view.voiceDestroyed);
        EXPECT_EQ(r.pane.VoiceControl(), nullptr);
      }
    }
  }
}

}  // namespace
}  // namespace pel::test
