// The real `pelprobe relay` program against kvsim: the outputs as the dialog shows them, a
// switch sent as a click would, and its exit statuses.
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

// Module 0: four outputs, the user may switch outputs 1 and 2 (channel 0 and 1, relay right).
std::string Scenario(const std::string& stateRoute, const std::string& cgi = "body\nOK\nend\n") {
  return ServerRoute({"SYS_BUILDDATE=1", "PROPERTY0=0x00150005", "VSMMAXCNT=1", "VSMIPTYPE0=3",
                      "VSMNAME0=\"Main\""}) +
         ModuleRoute(0, {"NUM_OF_CAM = 2", "NUM_OF_DO = 4"}) + stateRoute + "route *\n" + cgi;
}

std::string State(const std::vector<std::string>& lines) {
  return RouteWithBody("/asp-get/kvdioget.asp?KvModId=0", lines);
}

ProcessResult Relay(const KvsimScenario& kv, std::vector<std::string> more) {
  std::vector<std::string> args = {"relay", "--addr", "127.0.0.1", "--port",
                                   std::to_string(kv.port()), "--module", "0", "--json"};
  args.insert(args.end(), more.begin(), more.end());
  return RunProcess(HostPath(PEL_PELPROBE), args);
}

std::vector<std::string> Texts(const JsonValue& array) {
  std::vector<std::string> texts;
  for (const JsonValue& item : array.items) texts.push_back(item.text);
  return texts;
}

std::vector<int64_t> Ints(const JsonValue& array) {
  std::vector<int64_t> values;
  for (const JsonValue& item : array.items) {
    values.push_back(item.type == JsonValue::Type::kBool ? item.boolean : item.Int());
  }
  return values;
}

TEST(PelprobeRelay, ShowsTheOutputsAndSwitchesOne) {
  KvsimScenario kv(Scenario(State({"DO_DATA=0x25", "DONAME0=\"Gate\""})));
  ProcessResult run = Relay(kv, {"--set", "2", "on"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const auto r = ParseJson(run.out);
  ASSERT_TRUE(r) << run.out;
  EXPECT_EQ((*r).Keys(), (std::vector<std::string>{"dwDoData", "names", "checks", "hidden",
                                                   "disabled", "requests", "messages"}));
  EXPECT_EQ((*r)["dwDoData"].Int(), 0x27);
  EXPECT_EQ(Texts((*r)["names"]),
            (std::vector<std::string>{"Gate", "DO 2", "DO 3", "DO 4", "DO 5", "DO 6"}));
  EXPECT_EQ(Ints((*r)["checks"]), (std::vector<int64_t>{1, 1, 1, 0, 0, 1}));  // 6 is hidden, and on
  EXPECT_EQ(Ints((*r)["hidden"]), (std::vector<int64_t>{0, 0, 0, 0, 1, 1}));
  EXPECT_EQ(Ints((*r)["disabled"]), (std::vector<int64_t>{0, 0, 1, 1, 1, 1}));
  EXPECT_EQ(Texts((*r)["requests"]).back(),
            "/cgi-bin/kvdoctr.cgi?ServerId=0&DoData=0x27&KvCgiVer=0x0001");
  EXPECT_TRUE((*r)["messages"].items.empty());

  run = Relay(kv, {"--set", "1", "on"});  // already on: nothing sent
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(Texts((*ParseJson(run.out))["requests"]).back(), "/asp-get/kvdioget.asp?KvModId=0");
  run = Relay(kv, {"--set", "3", "off"});  // disabled: a click does nothing
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("output 3 is disabled"), std::string::npos) << run.err;
  run = Relay(kv, {"--set", "9", "on"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
}

TEST(PelprobeRelay, ExitStatuses) {
  KvsimScenario statusFailure(Scenario("route /asp-get/kvdioget.asp?KvModId=0\nstatus 500 Oops\n"));
  ProcessResult run = Relay(statusFailure, {});
  EXPECT_EQ(run.exitStatus, 3);
  const auto r = ParseJson(run.out);
  ASSERT_TRUE(r) << run.out;
  EXPECT_EQ(Texts((*r)["messages"]),
            std::vector<std::string>{"HTTP/1.1 500 Error (/asp-get/kvdioget.asp?KvModId=0)"});
  EXPECT_EQ(Ints((*r)["disabled"]), std::vector<int64_t>(6, 1));

  KvsimScenario tooLarge(Scenario(State({"DO_DATA=0"}), "body-repeat 2000 x\n"));
  run = Relay(tooLarge, {"--set", "1", "on"});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(Texts((*ParseJson(run.out))["messages"]),
            std::vector<std::string>{"KvDoCtrCgiWp read failed."});

  const uint16_t closed = ClosedLoopbackPort();
  run = RunProcess(HostPath(PEL_PELPROBE), {"relay", "--addr", "127.0.0.1", "--port",
                                            std::to_string(closed), "--module", "0"});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.out.find("GetAspWp (/asp-get/kvsvrinf.asp) read failed."), std::string::npos);
}

}  // namespace
}  // namespace pel::test
