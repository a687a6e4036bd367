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
  std::vector<int> Checks() {
    std::vector<int> checks;
    for (int n = 0; n < 6; ++n) checks.push_back(boxes.check(n));
    return checks;
  }
  std::vector<bool> Enabled() {
    std::vector<bool> enabled;
    for (int n = 0; n < 6; ++n) enabled.push_back(boxes.enabled(n));
    return enabled;
  }
};

TEST_F(RelayDialog, ClicksSendTheWholeStateWord) {
  ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0x05"})));
  EXPECT_EQ(Checks(), (std::vector<int>{1, 0, 1, 0, 0, 0}));
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
  EXPECT_EQ(Checks(), (std::vector<int>{1, 0, 1, 0, 0, 0}));
}

TEST_F(RelayDialog, HiddenAndDisabledBoxesKeepTheirBits) {
  ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0xB0"}), 4, 0x01));  // bit 7 and outputs 5, 6 on
  EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, false, false, false, false}));
  EXPECT_FALSE(boxes.visible(4));
  EXPECT_FALSE(boxes.visible(5));
  EXPECT_TRUE(boxes.visible(3));
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
  EXPECT_EQ(dialog.dwDoData(), 0u);
  EXPECT_EQ(Checks(), (std::vector<int>{0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(RelayDialog, FailedReadsLockTheBoxes) {
  struct Case {
    std::string scenario;
    bool closedPort;
    std::string message;
    RelayOutcome outcome;
  };
  const std::string path = kStatePath;
  const Case cases[] = {
      {"route /nothing\n", false, "File not found (" + path + ")", RelayOutcome::kStatusFailed},
      {"auth a:b\nroute *\n", false, "Authorization Failed. (" + path + ")",
       RelayOutcome::kStatusFailed},
      {"route /\n", true, "GetAspWp (" + path + ") read failed.", RelayOutcome::kRequestFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    messages.texts.clear();
    // An earlier opening left boxes ticked.
    ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0x3"})));
    if (c.closedPort) {
      RelayDialogSettings s = dialog.settings();
      s.serverPort = ClosedLoopbackPort();
      dialog.SetSettings(s);
      EXPECT_FALSE(Reopen());
    } else {
      kv = std::make_unique<KvsimScenario>(c.scenario);
      RelayDialogSettings s = dialog.settings();
      s.serverPort = kv->port();
      dialog.SetSettings(s);
      EXPECT_FALSE(Reopen());
    }
    EXPECT_EQ(messages.texts, std::vector<std::string>{c.message});
    EXPECT_EQ(dialog.readOutcome(), c.outcome);
    EXPECT_EQ(dialog.dwDoData(), 0u);
    EXPECT_EQ(Checks(), (std::vector<int>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Enabled(), std::vector<bool>(6, false));
    // Nothing can be sent on an unread state word, not even by a command.
    boxes.SetBoxCheck(0, 1);
    dialog.OnCommand(203);
    EXPECT_EQ(dialog.sendOutcome(), RelayOutcome::kNone);
    if (!c.closedPort) {
      EXPECT_EQ(WaitForRequests(*kv, 1).size(), 1u);
    }
  }
}

TEST_F(RelayDialog, NegativeModuleReadsNothing) {
  ASSERT_TRUE(Open(RelayScenario({"DO_DATA=0x1"})));
  RelayDialogSettings s = dialog.settings();
  s.moduleNumber = -1;
  dialog.SetSettings(s);
  kv->clearRequests();
  EXPECT_FALSE(Reopen());
  EXPECT_EQ(messages.texts, std::vector<std::string>{"Module ID init failed."});
  EXPECT_EQ(Enabled(), std::vector<bool>(6, false));
  EXPECT_TRUE(kv->requests().empty());
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

struct PaneButtons : ::testing::Test {
  PaneRig rig;
  // Module 0 with six cameras; `rights` are the rights bits of an all-channel entry.
  void Start(int rights, const std::vector<std::string>& server = {}) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "0x00F%X", rights);
    ASSERT_TRUE(rig.Start(PaneScenario(entry, {"NUM_OF_CAM = 6", "NUM_OF_DO = 4"}, 1, server) +
                          RelayScenario({"DO_DATA=0x2"})));
  }
};

TEST_F(PaneButtons, RelayButtonOpensTheDialogOnce) {
  Start(0x1);
  rig.Click(kButtonRelay);
  EXPECT_EQ(rig.messages(), std::vector<std::string>{"No Permission"});
  EXPECT_EQ(rig.dialogs.relayOpens, 0);

  PaneRig allowed;
  ASSERT_TRUE(allowed.Start(PaneScenario("0x00F5", {"NUM_OF_CAM = 6", "NUM_OF_DO = 4"}) +
                            RelayScenario({"DO_DATA=0x2"})));
  allowed.Click(kButtonRelay);
  EXPECT_EQ(allowed.pane.Button(kButtonRelay).GetState(), kSkinNormal);
  allowed.Click(kButtonRelay);  // its window is still there
  EXPECT_EQ(allowed.dialogs.relayOpens, 1);
  const RelayDialogSettings& s = allowed.pane.RelayDialog().settings();
  EXPECT_EQ(s.moduleNumber, 0);
  EXPECT_EQ(s.serverAddress, "127.0.0.1");
  EXPECT_EQ(s.serverPort, allowed.kv->port());
  EXPECT_EQ(s.proxyPort, 8080);
  EXPECT_EQ(s.outputCount, 4);
  EXPECT_EQ(s.rightsMask, 0x3Fu);
  EXPECT_EQ(allowed.dialogs.relayBoxes.check(1), 1);
  EXPECT_FALSE(allowed.dialogs.relayBoxes.visible(4));
  EXPECT_TRUE(allowed.messages().empty());
}

TEST_F(PaneButtons, VoiceButtonByDeviceType) {
  struct Case {
    const char* name;
    int rights;
    std::vector<std::string> server;
    std::string user;
    bool voiceFails;
    std::vector<std::string> messages;
    int audio, voice, downloads;
  };
  const Case cases[] = {
      {"audio, no right", 0x1, {"AUDIODEVICETYPE=1"}, "", false, {"No Permission"}, 0, 0, 0},
      {"audio, other user", 0x9, {"AUDIODEVICETYPE=2"}, "guest", false, {"No Permission"}, 0, 0, 0},
      {"audio as root", 0x9, {"AUDIODEVICETYPE=9"}, "root", false, {}, 1, 0, 0},
      {"voice, no right", 0x1, {}, "", false, {"No Permission"}, 0, 0, 0},
      {"voice, no serial", 0x9, {}, "", false, {"Voice device is not installed."}, 0, 0, 0},
      {"voice", 0x9, {"TTYS1_MODE=\"audio\""}, "", false, {}, 0, 1, 0},
      {"voice not installed", 0x9, {"TTYS1_MODE=\"audio\""}, "", true, {}, 0, 0, 1},
      {"unknown", 0x9, {"AUDIODEVICETYPE=5"}, "", false, {"Unknown voice device"}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PaneRig r;
    r.view.voiceFails = c.voiceFails;
    r.ctrl().SetStrUserID(c.user);
    char entry[16];
    std::snprintf(entry, sizeof entry, "0x00F%X", c.rights);
    ASSERT_TRUE(r.Start(PaneScenario(entry, {"NUM_OF_CAM = 6"}, 1, c.server)));
    r.Click(kButtonVoice);
    r.Click(kButtonVoice);  // never a second window
    const size_t shown = c.messages.empty() ? 0 : 2;
    EXPECT_EQ(r.messages().size(), shown);
    if (shown != 0) {
      EXPECT_EQ(r.messages()[0], c.messages[0]);
    }
    EXPECT_EQ(static_cast<int>(r.dialogs.audio.size()), c.audio);
    EXPECT_EQ(static_cast<int>(r.dialogs.voice.size()), c.voice);
    EXPECT_EQ(static_cast<int>(r.dialogs.downloads.size()), c.downloads * 2);
    if (c.downloads != 0) {
      EXPECT_EQ(r.dialogs.downloads[0], 30);
    }
    EXPECT_EQ(r.pane.VoiceControl() != nullptr, c.voice != 0);
  }
}

TEST_F(PaneButtons, VoiceDialogFieldsFollowIsLimit) {
  for (int limit : {0, 1}) {
    PaneRig r;
    r.ctrl().SetStrUserID("root");
    r.ctrl().SetStrUserPWD("pw");
    const std::string limitLine = "IsLimit=" + std::to_string(limit);
    ASSERT_TRUE(r.Start(PaneScenario("0x00F9", {"NUM_OF_CAM = 6"}, 1,
                                     {"AUDIODEVICETYPE=1", "UDPPORT=40000", limitLine})));
    r.Click(kButtonVoice);
    ASSERT_EQ(r.dialogs.audio.size(), 1u);
    const AudioDialogFields& a = r.dialogs.audio[0];
    EXPECT_EQ(a.pane, &r.pane);
    EXPECT_EQ(a.serverAddress, "127.0.0.1");
    EXPECT_EQ(a.udpPort, 40000);
    EXPECT_EQ(a.deviceType, 1);
    EXPECT_EQ(a.user, "root");
    EXPECT_EQ(a.password, limit == 1 ? "pw" : "");
    EXPECT_FALSE(a.portCheck);
    EXPECT_EQ(r.pane.Button(kButtonVoice).GetState(), kSkinNormal);

    PaneRig v;
    v.ctrl().SetStrUserID("u");
    v.ctrl().SetStrUserPWD("pw");
    ASSERT_TRUE(v.Start(PaneScenario("0x00F9", {"NUM_OF_CAM = 6"}, 1,
                                     {"TTYS0_MODE=\"a\"", limitLine})));
    v.Click(kButtonVoice);
    ASSERT_EQ(v.dialogs.voice.size(), 1u);
    EXPECT_EQ(v.dialogs.voice[0].user, limit == 1 ? "u" : "");
    EXPECT_EQ(v.dialogs.voice[0].password, limit == 1 ? "pw" : "");
    EXPECT_EQ(v.view.childIds[-1], 654321);
    v.pane.OnDestroy();
    EXPECT_TRUE(v.view.voiceDestroyed);
    EXPECT_EQ(v.pane.VoiceControl(), nullptr);
  }
}

}  // namespace
}  // namespace pel::test
