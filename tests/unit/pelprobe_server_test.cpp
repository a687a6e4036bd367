// The real `pelprobe server` program against kvsim: the fields it prints, the calls and
// messages, the module picked through the list, the hosting page, and its exit statuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/ControlRig.h"
#include "support/JsonReader.h"
#include "support/Kvsim.h"
#include "support/TestEnv.h"

namespace pel::test {
namespace {

// Module 0 lets the user watch camera 4; module 1 gives view and PTZ on camera 3.
const std::string kServer =
    ServerRoute({"SYS_BUILDDATE=20240612", "UDPPORT=32002", "IsLimit=1",
                 "PROPERTY0=0x01230031", "AUDIODEVICETYPE=2", "VSMMAXCNT=2", "VSMIPTYPE0=3",
                 "VSMNAME0=\"Hall\x01\xE9\"", "VSMIPTYPE1=1", "VSMNAME1=\"Yard\""}) +
    ModuleRoute(0, {"NUM_OF_CAM = 4", "VIDEO_FORMAT = 1", "NUM_OF_DO = 2", "PTZINSTFLAG=0x0F",
                    "PTZFUNCOPTFLAG=0", "CAMNAME3=\"Dock\""}) +
    ModuleRoute(1, {"NUM_OF_CAM = 6"});

ProcessResult RunProbe(std::vector<std::string> args) {
  args.insert(args.begin(), "server");
  return RunProcess(HostPath(PEL_PELPROBE), args);
}

std::vector<std::string> Loopback(uint16_t port, std::vector<std::string> more = {}) {
  std::vector<std::string> args = {"--addr", "127.0.0.1", "--port", std::to_string(port), "--json"};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

JsonValue Report(const ProcessResult& run) {
  EXPECT_TRUE(run.started);
  const auto parsed = ParseJson(run.out);
  EXPECT_TRUE(parsed) << "not one JSON value:\n" << run.out << "\nstderr:\n" << run.err;
  return parsed ? *parsed : JsonValue{};
}

std::vector<std::string> Texts(const JsonValue& array, const char* key = nullptr) {
  std::vector<std::string> texts;
  for (const JsonValue& item : array.items) texts.push_back(key ? item[key].text : item.text);
  return texts;
}

std::vector<int64_t> Ints(const JsonValue& array, const char* key = nullptr) {
  std::vector<int64_t> values;
  for (const JsonValue& item : array.items) values.push_back(key ? item[key].Int() : item.Int());
  return values;
}

// Index of the first call from `from` on to `component` member `name`, -1 when none.
int FindCall(const JsonValue& calls, const std::string& component, const std::string& name,
             size_t from = 0) {
  for (size_t i = from; i < calls.items.size(); ++i) {
    if (calls[i]["component"].text == component && calls[i]["name"].text == name) return static_cast<int>(i);
  }
  return -1;
}

TEST(PelprobeServer, ReadPagesGiveEveryFieldUnderTheControlsNames) {
  KvsimScenario kv(kServer);
  ASSERT_NE(kv.port(), 0);
  const ProcessResult run = RunProbe(Loopback(kv.port()));
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  const JsonValue r = Report(run);

  EXPECT_EQ(r.Keys(), (std::vector<std::string>{
      "strIpAddr", "iHttpPort", "strUserID", "strUserPWD", "strIpAddrProxy", "iHttpPortProxy",
      "iBuildDate", "iUdpPort", "iIsLimit", "dwProperty", "iAudioDeviceType", "iModuleCount",
      "iType3Count", "bVoiceSerial", "iSvrID", "iNumCam", "iVideoFormat", "iNumDo",
      "dwViewRights", "dwPtzRights", "dwRelayRights", "dwAudioRights", "dwPtzInstFlag",
      "iPtzFuncOptFlag", "bPtzInstalled", "iSelCam", "iCamsOn", "iViewableCams",
      "iOperPaneCtls", "strServerTag", "modules", "speedList", "messages", "calls"}));
  EXPECT_EQ(r["strIpAddr"].text, "127.0.0.1");
  EXPECT_EQ(r["iHttpPort"].Int(), kv.port());
  EXPECT_EQ(r["iHttpPortProxy"].Int(), 8080);
  EXPECT_EQ(r["iBuildDate"].Int(), 20240612);
  EXPECT_EQ(r["iUdpPort"].Int(), 32002);
  EXPECT_EQ(r["iIsLimit"].Int(), 1);
  EXPECT_EQ(Ints(r["dwProperty"]), (std::vector<int64_t>{0x01230031, 0, 0, 0}));
  EXPECT_EQ(r["iAudioDeviceType"].Int(), 2);
  EXPECT_EQ(r["iModuleCount"].Int(), 2);
  EXPECT_EQ(r["iType3Count"].Int(), 1);
  EXPECT_EQ(Texts(r["modules"], "text"), (std::vector<std::string>{"Hall\x01\xC3\xA9", "Yard"}));
  EXPECT_EQ(Ints(r["modules"], "data"), (std::vector<int64_t>{0, 1}));

  EXPECT_EQ(r["iSvrID"].Int(), 0);
  EXPECT_EQ(r["iNumCam"].Int(), 4);
  EXPECT_EQ(r["iVideoFormat"].Int(), 1);
  EXPECT_EQ(r["iNumDo"].Int(), 2);
  EXPECT_EQ(r["dwViewRights"].Int(), 0x8);
  EXPECT_EQ(r["dwPtzRights"].Int(), 0);
  EXPECT_EQ(r["dwPtzInstFlag"].Int(), 0xF);
  EXPECT_EQ(Ints(r["bPtzInstalled"]), (std::vector<int64_t>{1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(r["iSelCam"].Int(), 4);
  EXPECT_EQ(r["iCamsOn"].Int(), 1);
  EXPECT_EQ(r["iViewableCams"].Int(), 1);
  EXPECT_EQ(r["iOperPaneCtls"].Int(), 0x7EC03);
  EXPECT_EQ(r["strServerTag"].text, "127.0.0.1-" + std::to_string(kv.port()));
  EXPECT_EQ(Texts(r["speedList"], "text"),
            (std::vector<std::string>{"fastest", "12 fps", " 8 fps", " 5 fps", " 2 fps", " 1 fps"}));
  EXPECT_EQ(Ints(r["speedList"], "data"), (std::vector<int64_t>{0, 6, 10, 20, 45, 100}));
  EXPECT_TRUE(r["messages"].items.empty());

  // The pane's creation drives the panel first; the viewer is disconnected, set up and
  // reconnected; the server tag is asked for last.
  const JsonValue& calls = r["calls"];
  ASSERT_GE(calls.items.size(), 4u);
  EXPECT_EQ(calls[0]["component"].text, "panel");
  EXPECT_EQ(calls[0]["dispid"].Int(), 1);
  EXPECT_EQ(calls[0]["name"].text, "iPanelMode");
  EXPECT_EQ(calls[0]["value"].Int(), 1);
  EXPECT_EQ(calls[2]["name"].text, "EnablePanel");
  EXPECT_TRUE(calls[2]["value"][0].boolean);
  const int title = FindCall(calls, "viewer", "strCamName4");
  ASSERT_NE(title, -1);
  EXPECT_EQ(calls[title]["dispid"].Int(), 70);
  EXPECT_EQ(calls[title]["value"].text, "Dock");
  const int off = FindCall(calls, "viewer", "strServerAddr");
  const int select = FindCall(calls, "viewer", "SelectCamera");
  const int on = FindCall(calls, "viewer", "strServerAddr", off + 1);
  ASSERT_TRUE(off != -1 && select > off && on > select);
  EXPECT_EQ(calls[off]["value"].text, "");
  EXPECT_EQ(Ints(calls[select]["value"]), (std::vector<int64_t>{4}));
  EXPECT_EQ(calls[on]["value"].text, "127.0.0.1");
  EXPECT_EQ(calls.items.back()["name"].text, "GetServerTag");
  EXPECT_EQ(calls.items.back()["dispid"].Int(), 273);
}

TEST(PelprobeServer, ModuleIsPickedThroughTheListOrRefused) {
  KvsimScenario kv(kServer);
  ProcessResult run = RunProbe(Loopback(kv.port(), {"--module", "1"}));
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  JsonValue r = Report(run);
  EXPECT_EQ(r["iSvrID"].Int(), 1);
  EXPECT_EQ(r["iNumCam"].Int(), 6);
  EXPECT_EQ(r["dwViewRights"].Int(), 0x4);
  EXPECT_EQ(r["dwPtzRights"].Int(), 0x4);
  EXPECT_EQ(r["iSelCam"].Int(), 3);
  const int first = FindCall(r["calls"], "viewer", "GetServerTag");
  EXPECT_NE(FindCall(r["calls"], "viewer", "GetServerTag", first + 1), -1);  // two set-ups

  run = RunProbe(Loopback(kv.port(), {"--module", "5"}));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("module 5 is not in the server's module list (listed: 0 1)"), std::string::npos)
      << run.err;
}

TEST(PelprobeServer, StatusFailuresExitWith3) {
  KvsimScenario kv("auth admin:1234\n" + kServer);
  ProcessResult run = RunProbe(Loopback(kv.port()));
  EXPECT_EQ(run.exitStatus, 3);
  JsonValue r = Report(run);
  EXPECT_EQ(Texts(r["messages"]),
            (std::vector<std::string>{"Authorization Failed. (/asp-get/kvsvrinf.asp)",
                                      "Authorization Failed. (/asp-get/kvmodinf.asp?KvModId=-1)"}));
  EXPECT_EQ(r["iSvrID"].Int(), -1);
  EXPECT_TRUE(r["modules"].items.empty());

  run = RunProbe(Loopback(kv.port(), {"--user", "admin", "--password", "1234", "--module", "1"}));
  EXPECT_EQ(run.exitStatus, 0) << run.out;

  // The server page is read, the module page is missing (404).
  KvsimScenario noModule(ServerRoute({"PROPERTY0=0xFF00", "VSMMAXCNT=1", "VSMIPTYPE0=1", "VSMNAME0=\"A\""}));
  run = RunProbe(Loopback(noModule.port()));
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_EQ(Report(run)["iModuleCount"].Int(), 1);
}

TEST(PelprobeServer, RequestFailuresExitWith2AndKeepStdoutToTheReport) {
  const uint16_t closed = ClosedLoopbackPort();
  const ProcessResult run = RunProbe(Loopback(closed));
  EXPECT_EQ(run.exitStatus, 2);
  const JsonValue r = Report(run);  // the client's diagnostic lines went to stderr
  EXPECT_EQ(Texts(r["messages"]),
            (std::vector<std::string>{"GetAspWp (/asp-get/kvsvrinf.asp) read failed.",
                                      "GetAspWp (/asp-get/kvmodinf.asp?KvModId=-1) read failed."}));
  EXPECT_EQ(r["iNumCam"].Int(), 0);
  EXPECT_EQ(r["iUdpPort"].Int(), 32001);
}

TEST(PelprobeServer, HostingPageGivesTheAddressOnlyInABrowser) {
  KvsimScenario kv(kServer);
  const std::string port = std::to_string(kv.port());
  ProcessResult run = RunProbe({"--addr", "", "--page-url", "http://127.0.0.1:" + port + "/live.html", "--json"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  JsonValue r = Report(run);
  EXPECT_EQ(r["strIpAddr"].text, "127.0.0.1");
  EXPECT_EQ(r["iHttpPort"].Int(), kv.port());

  // An explicit address is normalised in a browser, and used as it is outside one.
  run = RunProbe({"--addr", "http://u:pw@127.0.0.1:" + port + "/x", "--json"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  r = Report(run);
  EXPECT_EQ(r["strIpAddr"].text, "127.0.0.1");
  EXPECT_EQ(r["strUserID"].text, "u");
  EXPECT_EQ(r["strUserPWD"].text, "pw");

  run = RunProbe({"--addr", "http://127.0.0.1:" + port + "/", "--no-browser", "--json"});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(Report(run)["strIpAddr"].text, "http://127.0.0.1:" + port + "/");

  run = RunProbe({"--addr", "127.0.0.1:70000", "--json"});
  EXPECT_EQ(run.exitStatus, 2);
  r = Report(run);
  EXPECT_EQ(r["strIpAddr"].text, "");
  EXPECT_EQ(r["messages"][0].text, "Bad URL format");
}

TEST(PelprobeServer, ReadableReportAndUsageErrors) {
  KvsimScenario kv(kServer);
  ProcessResult run = RunProbe({"--addr", "127.0.0.1", "--port", std::to_string(kv.port())});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.out.find("\"Hall\\x01\\xE9\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("viewer put    70 strCamName4 = \"Dock\""), std::string::npos);
  // The pane lays out the module list (two modules) and no camera buttons (one camera).
  EXPECT_NE(run.out.find("    module list                10,   64   144 x 120"), std::string::npos);
  EXPECT_EQ(run.out.find("    Cam"), std::string::npos);
  EXPECT_NE(run.out.find("Result: every page was read (exit status 0)"), std::string::npos);

  run = RunProbe({"--addr", "127.0.0.1", "--colour", "red"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("pelprobe server: unknown option --colour", 0), 0u) << run.err;

  run = RunProcess(HostPath(PEL_PELPROBE), {});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("server"), std::string::npos);
}

}  // namespace
}  // namespace pel::test
