// ReadServerInfo against kvsim: every key of the server information page, absent keys, the
// module list and its filter, type-3 counting, the voice serial flag, failures and their
// defaults, and a page that fills the whole buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serverinfo/ServerPage.h"
#include "support/ControlRig.h"
#include "support/HttpPeers.h"
#include "support/Kvsim.h"

namespace pel::test {
namespace {

constexpr const char* kPath = "/asp-get/kvsvrinf.asp";

struct ServerInfo : ::testing::Test {
  ControlRig rig;
  const ServerInfoRecord& server() { return rig.ctrl.ServerInfo(); }
  PaneServerFields& fields() { return rig.pane().fields; }
  FakeComboList& modules() { return rig.pane().modules; }

  // Reads the page that kvsim serves from `scenario`.
  void ReadFrom(const KvsimScenario& kv) {
    ASSERT_NE(kv.port(), 0);
    rig.Attach();
    rig.PointAt(kv.port());
    rig.ctrl.ReadServerInfo();
  }
};

TEST_F(ServerInfo, ReadsEveryKey) {
  KvsimScenario kv(ServerRoute({
      "SYS_BUILDDATE=20100520", "UDPPORT=32005", "IsLimit=1", "PROPERTY0=0x0001FF00",
      "PROPERTY1=0x00020003", "PROPERTY2=4", "PROPERTY3=0xFFFFFFFF", "AUDIODEVICETYPE=9",
      "VSMMAXCNT=3", "VSMIPTYPE0=1", "VSMNAME0=\"Lobby\"", "VSMIPTYPE1=3",
      "VSMNAME1=\"Yard gate\"", "VSMIPTYPE2=0", "VSMNAME2=\"Off\"", "TTYS2_MODE=\"audio\""}));
  ReadFrom(kv);
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(fields().iBuildDate, 20100520);
  EXPECT_EQ(fields().iUdpPort, 32005);
  EXPECT_EQ(fields().iIsLimit, 1);
  EXPECT_EQ(server().dwProperty, (AccessWords{0x0001FF00u, 0x00020003u, 4u, 0xFFFFFFFFu}));
  EXPECT_EQ(server().iAudioDeviceType, 9);
  EXPECT_EQ(modules().Texts(), (std::vector<std::string>{"Lobby", "Yard gate"}));
  EXPECT_EQ(modules().Data(), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(modules().GetCurSel(), 0);
  EXPECT_EQ(server().iModuleCount, 2);
  EXPECT_EQ(server().iType3Count, 1);
  EXPECT_EQ(server().bVoiceSerial, 1);

  const std::vector<std::string> requests = WaitForRequests(kv, 1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], ExpectedRequest(kPath, "127.0.0.1", kv.port()));
}

TEST_F(ServerInfo, AbsentKeysTakeDefaultsAndAccessWordsStay) {
  KvsimScenario first(ServerRoute({"PROPERTY0=0x11", "PROPERTY1=0x22", "PROPERTY2=0x33",
                                   "PROPERTY3=0x44", "AUDIODEVICETYPE=2", "IsLimit=1"}));
  ReadFrom(first);
  KvsimScenario second(ServerRoute({"PROPERTY2=0x55", "nothing else"}));
  ReadFrom(second);
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(fields().iBuildDate, -1);
  EXPECT_EQ(fields().iUdpPort, 32001);
  EXPECT_EQ(fields().iIsLimit, 0);
  EXPECT_EQ(server().dwProperty, (AccessWords{0x11u, 0x22u, 0x55u, 0x44u}));
  EXPECT_EQ(server().iAudioDeviceType, 0);  // absent: the voice kit
  EXPECT_TRUE(modules().entries().empty());
  EXPECT_EQ(modules().GetCurSel(), IComboList::kComboError);
  EXPECT_EQ(server().iModuleCount, 0);
  EXPECT_EQ(server().bVoiceSerial, 0);
}

TEST_F(ServerInfo, NumbersAreDecimalOrHexAndKeysMatchAnywhere) {
  KvsimScenario kv(
      "route /asp-get/kvsvrinf.asp\n"
      "header SYS_BUILDDATE=777\n"
      "body\n"
      "SYS_BUILDDATE=1\n"
      "UDPPORT= 31\n"
      "MYIsLimit=0x1F\n"
      "PROPERTY0:0x00FF\n"
      "AUDIODEVICETYPE=5\n"
      "end\n");
  ReadFrom(kv);
  EXPECT_EQ(fields().iBuildDate, 777);  // first occurrence: the header line
  EXPECT_EQ(fields().iUdpPort, 31);
  EXPECT_EQ(fields().iIsLimit, 31);
  EXPECT_EQ(server().dwProperty[0], 0xFFu);  // read 10 characters on, whatever the tenth is
  EXPECT_EQ(server().iAudioDeviceType, -1);

  KvsimScenario other(ServerRoute({"UDPPORT=abc", "AUDIODEVICETYPE=1"}));
  ReadFrom(other);
  EXPECT_EQ(fields().iUdpPort, 0);
  EXPECT_EQ(server().iAudioDeviceType, 1);
}

TEST_F(ServerInfo, ModuleFilterFollowsTheViewRights) {
  const std::vector<std::string> slots = {
      "VSMMAXCNT=4",        "VSMIPTYPE0=1", "VSMNAME0=\"M0\"", "VSMIPTYPE1=1",
      "VSMNAME1=\"M1\"",    "VSMIPTYPE2=2", "VSMNAME2=\"M2\"", "VSMIPTYPE3=0",
      "VSMNAME3=\"M3\""};
  auto page = [&](const std::string& property) {
    std::vector<std::string> lines = slots;
    lines.push_back(property);
    return ServerRoute(lines);
  };
  {
    // Module 255 in the first entry: every slot whose type is not 0.
    KvsimScenario kv(page("PROPERTY0=0xFF00"));
    ReadFrom(kv);
    EXPECT_EQ(modules().Texts(), (std::vector<std::string>{"M0", "M1", "M2"}));
  }
  {
    // Module 33 with the view bit names module 1 (33 mod 32); module 2 without it names none.
    KvsimScenario kv(page("PROPERTY0=0x02F62101"));
    ReadFrom(kv);
    EXPECT_EQ(modules().Texts(), (std::vector<std::string>{"M1"}));
    EXPECT_EQ(modules().Data(), (std::vector<int32_t>{1}));
  }
  {
    // The eighth entry (high half of word 3) counts too.
    KvsimScenario kv(page("PROPERTY0=0 PROPERTY3=0x02010000"));
    ReadFrom(kv);
    EXPECT_EQ(modules().Texts(), (std::vector<std::string>{"M2"}));
    EXPECT_EQ(modules().Data(), (std::vector<int32_t>{2}));
  }
  {
    // All access entries 0: nothing is listed.
    KvsimScenario zero(ServerRoute({"PROPERTY0=0", "PROPERTY1=0", "PROPERTY2=0", "PROPERTY3=0",
                                    "VSMMAXCNT=1", "VSMIPTYPE0=1", "VSMNAME0=\"M0\""}));
    ReadFrom(zero);
    EXPECT_TRUE(modules().entries().empty());
    EXPECT_EQ(server().iModuleCount, 0);
    EXPECT_EQ(modules().GetItemData(modules().GetCurSel()), -1);
  }
}

TEST_F(ServerInfo, ModuleSlotsNamesAndTypeThreeCount) {
  std::string longName(300, 'n');
  KvsimScenario kv(ServerRoute({
      "PROPERTY0=0xFF00", "VSMMAXCNT=7", "VSMIPTYPE1=1", "VSMNAME1=\"Lobby\"", "VSMIPTYPE2=3",
      "VSMIPTYPE3=1", "VSMNAME3=\"\"", "VSMIPTYPE4=1", "VSMNAME4=\"" + longName + "\"",
      "VSMIPTYPE5=3", "VSMNAME5=\"Open", "VSMIPTYPE9=1", "VSMNAME9=\"Beyond the count\""}));
  ReadFrom(kv);
  // Slot 2 (type 3, no name) and slot 5 (no closing quote... the quote of slot 9's name closes
  // it) show how names run to the next quote anywhere in the page.
  ASSERT_EQ(modules().entries().size(), 4u);
  EXPECT_EQ(modules().Texts()[0], "Lobby");
  EXPECT_EQ(modules().Texts()[1], "");
  EXPECT_EQ(modules().Texts()[2], std::string(255, 'n'));
  EXPECT_EQ(modules().Texts()[3], "Open\r\nVSMIPTYPE9=1\r\nVSMNAME9=");
  EXPECT_EQ(modules().Data(), (std::vector<int32_t>{1, 3, 4, 5}));
  EXPECT_EQ(modules().GetCurSel(), 0);
  EXPECT_EQ(server().iType3Count, 2);

  // The count grows with every read.
  rig.ctrl.ReadServerInfo();
  EXPECT_EQ(server().iType3Count, 4);
}

TEST_F(ServerInfo, NameWithoutClosingQuoteAddsNoEntry) {
  KvsimScenario kv(ServerRoute({"PROPERTY0=0xFF00", "VSMMAXCNT=2", "VSMIPTYPE0=3",
                                "VSMNAME0=\"Lobby\"", "VSMIPTYPE1=1", "VSMNAME1=\"Unclosed"}));
  ReadFrom(kv);
  EXPECT_EQ(modules().Texts(), (std::vector<std::string>{"Lobby"}));
  EXPECT_EQ(server().iModuleCount, 1);
  EXPECT_EQ(server().iType3Count, 1);
}

TEST_F(ServerInfo, HugeSlotCountIsReadQuickly) {
  KvsimScenario kv(ServerRoute({"PROPERTY0=0xFF00", "VSMMAXCNT=2147483647",
                                "VSMIPTYPE2000000000=1", "VSMNAME2000000000=\"Far\"",
                                "VSMIPTYPE07=1", "VSMNAME7=\"Zero-led key\"", "VSMIPTYPE3=1",
                                "VSMNAME3=\"Three\""}));
  ReadFrom(kv);
  EXPECT_EQ(modules().Texts(), (std::vector<std::string>{"Three", "Far"}));
  EXPECT_EQ(modules().Data(), (std::vector<int32_t>{3, 2000000000}));
}

TEST_F(ServerInfo, VoiceSerialFlagWantsAQuotedA) {
  struct Case {
    std::string line;
    int32_t expected;
  };
  for (const Case& c : {Case{"TTYS2_MODE=\"audio\"", 1}, Case{"TTYS2_MODE=audio", 0},
                        Case{"TTYS0_MODE=\"Audio\"", 0}, Case{"TTYS3_MODE=\"a\"", 1},
                        Case{"TTYS4_MODE=\"audio\"", 0}}) {
    KvsimScenario kv(ServerRoute({c.line}));
    ReadFrom(kv);
    EXPECT_EQ(server().bVoiceSerial, c.expected) << c.line;
  }
}

TEST_F(ServerInfo, StatusFailureKeepsSomeValuesAndSetsFailureDefaults) {
  KvsimScenario good(ServerRoute({"SYS_BUILDDATE=5", "UDPPORT=4000", "IsLimit=1",
                                  "PROPERTY0=0xFF00", "AUDIODEVICETYPE=2", "VSMMAXCNT=1",
                                  "VSMIPTYPE0=3", "VSMNAME0=\"A\"", "TTYS0_MODE=\"audio\""}));
  ReadFrom(good);
  ASSERT_EQ(server().iModuleCount, 1);

  KvsimScenario missing("route /elsewhere\n");
  ReadFrom(missing);
  EXPECT_EQ(rig.messages.texts, (std::vector<std::string>{"File not found (/asp-get/kvsvrinf.asp)"}));
  EXPECT_EQ(fields().iUdpPort, 32001);
  EXPECT_EQ(fields().iIsLimit, 0);
  EXPECT_EQ(server().dwProperty, (AccessWords{0, 0, 0, 0}));
  EXPECT_TRUE(modules().entries().empty());
  EXPECT_EQ(server().iModuleCount, 0);
  EXPECT_EQ(server().bVoiceSerial, 0);
  EXPECT_EQ(fields().iBuildDate, 5);
  EXPECT_EQ(server().iAudioDeviceType, 2);
  EXPECT_EQ(server().iType3Count, 1);

  rig.messages.texts.clear();
  KvsimScenario forbidden("route /asp-get/kvsvrinf.asp\nstatusline HTTP/1.0 403 Forbidden\n");
  ReadFrom(forbidden);
  KvsimScenario locked("auth admin:1234\nroute /asp-get/kvsvrinf.asp\n");
  ReadFrom(locked);
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"HTTP/1.1 403 Error (/asp-get/kvsvrinf.asp)",
                                      "Authorization Failed. (/asp-get/kvsvrinf.asp)"}));
}

TEST_F(ServerInfo, RequestFailureShowsReadFailedWithThePath) {
  const uint16_t closed = ClosedLoopbackPort();
  ASSERT_NE(closed, 0);
  KvsimScenario good(ServerRoute({"UDPPORT=4000", "PROPERTY1=7"}));
  ReadFrom(good);
  rig.PointAt(closed);
  rig.ctrl.ReadServerInfo();
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"GetAspWp (/asp-get/kvsvrinf.asp) read failed."}));
  EXPECT_EQ(fields().iUdpPort, 32001);
  EXPECT_EQ(server().dwProperty[1], 0u);
  EXPECT_EQ(modules().resets(), 2);
}

TEST_F(ServerInfo, EmptyResponseIsStatusZero) {
  KvsimScenario kv("route /asp-get/kvsvrinf.asp\nraw\nend\n");
  ReadFrom(kv);
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"HTTP/1.1 0 Error (/asp-get/kvsvrinf.asp)"}));
  EXPECT_EQ(server().iModuleCount, 0);
}

// A kvsim route whose whole answer is `head`, dots, then `tail`: `total` bytes in all.
std::string FullAnswer(const std::string& head, const std::string& tail, size_t total = 10240) {
  auto escape = [](const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
      if (c == '"' || c == '\\') out += '\\';
      if (c == '\r') {
        out += "\\r";
      } else if (c == '\n') {
        out += "\\n";
      } else {
        out += c;
      }
    }
    return out;
  };
  const std::string filler(total - head.size() - tail.size(), '.');
  return "route /asp-get/kvsvrinf.asp\nraw\n" + escape(head + filler + tail) + "\nend\n";
}

// A response of exactly the buffer's size has no terminator: values at its very end are read
// up to the last received byte and no further.
TEST_F(ServerInfo, PageFillingTheWholeBufferIsReadInsideIt) {
  const std::string head = "HTTP/1.1 200 OK\r\n\r\nTTYS1_MODE=\"audio\" PROPERTY0=0xFF00 PROPERTY1=7 ";
  KvsimScenario number(FullAnswer(
      head, "VSMMAXCNT=1 VSMIPTYPE0=1 PROPERTY2 TTYS0_MODE=\" VSMNAME0=\"UDPPORT=4242"));
  ReadFrom(number);
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(fields().iUdpPort, 4242);
  EXPECT_EQ(server().dwProperty[1], 7u);
  EXPECT_EQ(server().dwProperty[2], 0u);     // " TTYS0_..." ten characters on
  EXPECT_EQ(server().bVoiceSerial, 1);       // TTYS1; TTYS0's value starts with a blank
  EXPECT_TRUE(modules().entries().empty());  // the name has no closing quote

  // One byte more and the last digit falls outside the buffer.
  KvsimScenario longer(FullAnswer(head, "UDPPORT=4242", 10241));
  ReadFrom(longer);
  EXPECT_EQ(fields().iUdpPort, 424);

  // Keys whose value would start past the last byte.
  KvsimScenario property(FullAnswer("HTTP/1.1 200 OK\r\n\r\n", "PROPERTY1="));
  ReadFrom(property);
  EXPECT_EQ(server().dwProperty[1], 0u);
  KvsimScenario voice(FullAnswer("HTTP/1.1 200 OK\r\n\r\n", "TTYS3_MODE="));
  ReadFrom(voice);
  EXPECT_EQ(server().bVoiceSerial, 0);
  KvsimScenario name(FullAnswer("HTTP/1.1 200 OK\r\n\r\nPROPERTY0=0xFF00 VSMMAXCNT=1 VSMIPTYPE0=1 ",
                                "VSMNAME0=\""));
  ReadFrom(name);
  EXPECT_TRUE(modules().entries().empty());
  EXPECT_TRUE(rig.messages.texts.empty());
}

TEST(ServerPageSlots, PresentSlotsMatchTryingEveryNumber) {
  const std::string text =
      "VSMIPTYPE0= VSMIPTYPE10=VSMIPTYPE012= XVSMIPTYPE3= VSMIPTYPE7 VSMIPTYPE99999999999= "
      "VSMIPTYPE5=VSMIPTYPE5= VSMIPTYPE2147483646=";
  const PageText page(text.data(), text.size());
  EXPECT_EQ(PresentModuleSlots(page, 20), (std::vector<int32_t>{0, 3, 5, 10}));
  EXPECT_EQ(PresentModuleSlots(page, 2147483647), (std::vector<int32_t>{0, 3, 5, 10, 2147483646}));
  EXPECT_TRUE(PresentModuleSlots(page, 0).empty());
  EXPECT_TRUE(PresentModuleSlots(page, -5).empty());
  for (int32_t count = 0; count < 12; ++count) {
    std::vector<int32_t> naive;
    for (int32_t n = 0; n < count; ++n) {
      const std::string key = "VSMIPTYPE" + std::to_string(n) + "=";
      if (page.Find(key.c_str())) naive.push_back(n);
    }
    EXPECT_EQ(PresentModuleSlots(page, count), naive) << count;
  }
}

TEST(ServerPageSlots, ListableModules) {
  EXPECT_TRUE(ModuleListable(AccessWords{0xFF00, 0, 0, 0}, 77));
  EXPECT_FALSE(ModuleListable(AccessWords{0x00FF0000, 0, 0, 0}, 77));  // 255 only counts first
  EXPECT_TRUE(ModuleListable(AccessWords{0x2101, 0, 0, 0}, 1));
  EXPECT_TRUE(ModuleListable(AccessWords{0x2101, 0, 0, 0}, 65));
  EXPECT_FALSE(ModuleListable(AccessWords{0x2100, 0, 0, 0}, 1));
  EXPECT_FALSE(ModuleListable(AccessWords{0, 0, 0, 0}, 0));
}

}  // namespace
}  // namespace pel::test
