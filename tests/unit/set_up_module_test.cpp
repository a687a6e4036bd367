// SetUpModule against kvsim: the module page's keys, the rights from the access entries, the
// selected camera, titles, buttons, speed list, panel and viewer set-up in their order,
// iOperPaneCtls, the PTZ rules, failures, and a page that fills the whole buffer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/ControlRig.h"
#include "support/HttpPeers.h"
#include "support/Kvsim.h"

namespace pel::test {
namespace {

struct SetUpModuleTest : ::testing::Test {
  ControlRig rig;
  std::unique_ptr<KvsimScenario> kv;

  // Serves `scenario`, starts the control on it and forgets what the start did.
  void StartOn(const std::string& scenario) {
    kv = std::make_unique<KvsimScenario>(scenario);
    ASSERT_NE(kv->port(), 0);
    rig.PointAt(kv->port());
    rig.viewer().SetMethodResult(273, Variant::Bstr("10.0.0.1:80"));
    ASSERT_TRUE(rig.Start());
    rig.log.Clear();
    rig.messages.texts.clear();
  }
  std::string Port() const { return std::to_string(kv->port()); }
  const ModuleRecord& module() { return rig.ctrl.Module(); }
};

// Two listed modules; module 1 grants view on cameras 2 and 5 and PTZ on camera 2.
const std::string kTwoModules =
    ServerRoute({"SYS_BUILDDATE=20100101", "PROPERTY0=0x01410113", "PROPERTY1=0x0001",
                 "VSMMAXCNT=2", "VSMIPTYPE0=1", "VSMNAME0=\"Hall\"", "VSMIPTYPE1=1",
                 "VSMNAME1=\"Yard\""}) +
    ModuleRoute(0, {"NUM_OF_CAM = 1"}) +
    ModuleRoute(1, {"NUM_OF_CAM = 6", "VIDEO_FORMAT = 0", "NUM_OF_DO = 4", "PTZINSTFLAG=0x2",
                    "PTZFUNCOPTFLAG=5", "CAMNAME0=\"Door\"", "CAMNAME1=\"Yard\"",
                    "CAMNAME4=\"" + std::string(40, 't') + "\""});

TEST_F(SetUpModuleTest, CallsPanelViewerAndPaneInOrder) {
  StartOn(kTwoModules);
  rig.pane().flags = PaneCameraFlags{1, 1, 1, 1};
  rig.ctrl.SetUpModule(1);
  EXPECT_TRUE(rig.messages.texts.empty());
  const std::vector<std::string> expected = {
      "viewer put 67 \"Door\"", "viewer put 68 \"Yard\"",
      "viewer put 188 \"" + std::string(31, 't') + "\"",
      "pane button 0 2", "pane button 1 1", "pane button 2 1", "pane button 3 1",
      "pane button 4 1", "pane button 5 1", "pane button 6 1", "pane button 7 1",
      "pane button 3 2", "pane button 8 1", "pane button 9 1",
      "uart put 8 \"127.0.0.1\"", "uart put 9 " + Port(), "uart put 15 \"\"", "uart put 14 0",
      "uart put 10 \"\"", "uart put 11 \"\"", "uart put 13 1", "uart put 4 2", "uart call 41",
      "viewer put 13 \"\"", "window move 207 10 716 544",
      "viewer put 53 TRUE", "viewer put 54 TRUE", "viewer put 55 TRUE", "viewer put 56 TRUE",
      "viewer put 57 FALSE", "viewer put 58 TRUE", "viewer put 156 12", "viewer put 264 TRUE",
      "viewer put 18 FALSE", "viewer put 19 FALSE", "viewer put 20 FALSE",
      "viewer put 21 FALSE", "viewer put 168 FALSE", "viewer put 169 FALSE",
      "viewer put 5 TRUE", "viewer put 6 TRUE", "viewer put 7 TRUE", "viewer put 8 TRUE",
      "viewer put 164 TRUE", "viewer put 165 TRUE", "viewer put 151 FALSE",
      "viewer put 19 TRUE", "viewer call 276 (2)",
      "viewer put 17 1", "viewer put 15 \"\"", "viewer put 16 \"\"", "viewer put 14 " + Port(),
      "viewer put 160 \"\"", "viewer put 161 8080", "viewer put 13 \"127.0.0.1\"",
      "uart put 1 2", "uart put 2 -2147483643", "viewer call 273"};
  EXPECT_EQ(rig.log.Lines(), expected);

  EXPECT_EQ(rig.ctrl.Properties().iSvrID, 1);
  EXPECT_EQ(module().iNumCam, 6);
  EXPECT_EQ(module().iVideoFormat, 0);
  EXPECT_EQ(module().iNumDo, 4);
  EXPECT_EQ(module().dwViewRights, 0x12u);
  EXPECT_EQ(module().dwPtzRights, 0x2u);
  EXPECT_EQ(module().dwRelayRights, 0u);
  EXPECT_EQ(module().dwAudioRights, 0u);
  EXPECT_EQ(module().bPtzInstalled, (std::array<int32_t, 6>{0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(module().iPtzFuncOptFlag, 5);
  EXPECT_EQ(rig.ctrl.iSelCam(), 2);
  EXPECT_EQ(rig.ctrl.iCamsOn(), 1);
  EXPECT_EQ(module().iViewableCams, 2);
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, 0x3 | (0x4 << 1) | (0x4 << 4) | 0x1300 | 0x7EC00);
  EXPECT_EQ(rig.ctrl.strServerTag(), "10.0.0.1-80");
  EXPECT_EQ(rig.pane().flags.sequenceRunning, 0);
  EXPECT_EQ(rig.pane().flags.paused, 0);
  EXPECT_EQ(rig.pane().flags.allPressed, 0);
  EXPECT_EQ(rig.pane().flags.doublePressed, 1);  // not the module set-up's
  EXPECT_EQ(rig.pane().speeds.Texts(),
            (std::vector<std::string>{"fastest", "15 fps", "10 fps", " 5 fps", " 2 fps", " 1 fps"}));
  EXPECT_EQ(rig.pane().speeds.Data(), (std::vector<int32_t>{0, 6, 10, 20, 45, 100}));
  EXPECT_EQ(rig.pane().speeds.GetCurSel(), 0);

  const std::vector<std::string> requests = WaitForRequests(*kv, 3);
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2], ExpectedRequest("/asp-get/kvmodinf.asp?KvModId=1", "127.0.0.1", kv->port()));
}

TEST_F(SetUpModuleTest, KeysNeedTheirBlanksExceptThePtzKeys) {
  StartOn(ServerRoute({"SYS_BUILDDATE=1", "PROPERTY0=0xFF00"}) +
          ModuleRoute(0, {"NUM_OF_CAM=4", "VIDEO_FORMAT=1", "NUM_OF_DO=2", "PTZINSTFLAG = 3"}) +
          ModuleRoute(1, {"NUM_OF_CAM = 4", "VIDEO_FORMAT = 1", "NUM_OF_DO = 2", "PTZINSTFLAG=3",
                          "PTZFUNCOPTFLAG=0"}) +
          ModuleRoute(2, {"PTZINSTFLAG:0x21"}));
  rig.ctrl.SetUpModule(0);
  EXPECT_EQ(module().iNumCam, 6);
  EXPECT_EQ(module().iVideoFormat, 0);
  EXPECT_EQ(module().iNumDo, 6);
  EXPECT_EQ(module().dwPtzInstFlag, 0u);  // the value starts at "= 3"
  EXPECT_EQ(module().iPtzFuncOptFlag, -1);
  rig.log.Clear();
  rig.ctrl.SetUpModule(1);
  EXPECT_EQ(module().iNumCam, 4);
  EXPECT_EQ(module().iVideoFormat, 1);
  EXPECT_EQ(module().iNumDo, 2);
  EXPECT_EQ(module().dwPtzInstFlag, 3u);
  EXPECT_EQ(module().bPtzInstalled, (std::array<int32_t, 6>{1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(module().iPtzFuncOptFlag, 0);
  EXPECT_NE(rig.log.IndexOf("uart put 1 1"), -1);
  EXPECT_NE(rig.log.IndexOf("uart put 2 -2147483648"), -1);
  EXPECT_NE(rig.log.IndexOf("window move 207 10 716 640"), -1);
  EXPECT_EQ(rig.pane().speeds.Texts(),
            (std::vector<std::string>{"fastest", "12 fps", " 8 fps", " 5 fps", " 2 fps", " 1 fps"}));
  rig.log.Clear();
  rig.ctrl.SetUpModule(2);
  EXPECT_EQ(module().dwPtzInstFlag, 0x21u);  // 12 characters on, whatever precedes
  EXPECT_EQ(module().bPtzInstalled, (std::array<int32_t, 6>{1, 0, 0, 0, 0, 1}));
  EXPECT_EQ(module().iPtzFuncOptFlag, -1);
  EXPECT_NE(rig.log.IndexOf("uart put 1 2"), -1);
  EXPECT_NE(rig.log.IndexOf("uart put 2 -1"), -1);
}

TEST_F(SetUpModuleTest, RightsComeFromTheEntriesNamingTheModule) {
  // Entries: module 1 channel 15 view; module 1 channel 2 view+PTZ; module 1 channel 9 relay;
  // module 1 channel 14 audio; module 2 channel 0 everything; module 1 channel 3 nothing.
  StartOn(ServerRoute({"PROPERTY0=0x012301F1", "PROPERTY1=0x01E80194", "PROPERTY2=0x0130020F"}) +
          ModuleRoute(1, {}) + ModuleRoute(2, {}) + ModuleRoute(3, {}));
  rig.ctrl.SetUpModule(1);
  EXPECT_EQ(module().dwViewRights, 0x3Fu);
  EXPECT_EQ(module().dwPtzRights, 0x4u);
  EXPECT_EQ(module().dwRelayRights, 0x200u);
  EXPECT_EQ(module().dwAudioRights, 0x4000u);
  rig.ctrl.SetUpModule(2);
  EXPECT_EQ(module().dwViewRights, 0x1u);
  EXPECT_EQ(module().dwPtzRights, 0x1u);
  EXPECT_EQ(module().dwRelayRights, 0x1u);
  EXPECT_EQ(module().dwAudioRights, 0x1u);
  rig.ctrl.SetUpModule(3);
  EXPECT_EQ(module().dwViewRights, 0u);
  EXPECT_EQ(module().dwAudioRights, 0u);
}

TEST_F(SetUpModuleTest, AllWordsSetGrantEverything) {
  StartOn(ServerRoute({"PROPERTY0=0xFFFFFFFF", "PROPERTY1=0xFFFFFFFF", "PROPERTY2=0xFFFFFFFF",
                       "PROPERTY3=0xFFFFFFFF"}) +
          ModuleRoute(7, {"NUM_OF_CAM = 3"}));
  rig.ctrl.SetUpModule(7);
  EXPECT_EQ(module().dwViewRights, 0xFFFFFFFFu);
  EXPECT_EQ(module().dwPtzRights, 0xFFFFFFFFu);
  EXPECT_EQ(module().dwRelayRights, 0xFFFFFFFFu);
  EXPECT_EQ(module().dwAudioRights, 0xFFFFFFFFu);
  EXPECT_EQ(rig.ctrl.iSelCam(), 1);
  EXPECT_EQ(module().iViewableCams, 3);
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, 0x4 | 0x8 | 0x10 | 0x1300 | 0x7EC00);
}

TEST_F(SetUpModuleTest, OperPaneCtlsForZeroOneAndSeveralViewableCameras) {
  StartOn(ServerRoute({"PROPERTY0=0x02210101", "PROPERTY1=0x03F1"}) +
          ModuleRoute(1, {"NUM_OF_CAM = 6"}) + ModuleRoute(2, {"NUM_OF_CAM = 2"}) +
          ModuleRoute(3, {"NUM_OF_CAM = 4"}) + ModuleRoute(4, {}));
  // Module 1: camera 1 only.
  rig.ctrl.SetUpModule(1);
  EXPECT_EQ(module().iViewableCams, 1);
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, 0x7EC00);
  // Module 2: camera 3, beyond its two cameras.
  rig.ctrl.SetUpModule(2);
  EXPECT_EQ(module().iViewableCams, 0);
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, 0x7EC00);
  // Module 3: cameras 1 to 6 granted, four exist.
  rig.ctrl.SetIOperPaneCtls(0x12345);  // a container's value is overwritten
  rig.ctrl.SetUpModule(3);
  EXPECT_EQ(module().iViewableCams, 4);
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, 0x3C | 0x1300 | 0x7EC00);
}

TEST_F(SetUpModuleTest, MoreThanOneModuleAddsTheModuleList) {
  StartOn(kTwoModules);
  rig.ctrl.SetUpModule(0);
  EXPECT_EQ(rig.ctrl.iModuleCount(), 2);
  EXPECT_EQ(module().iViewableCams, 1);
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, 0x3 | 0x7EC00);
}

TEST_F(SetUpModuleTest, NoViewableCameraKeepsTheSelection) {
  StartOn(kTwoModules + ModuleRoute(5, {}));
  rig.ctrl.SetUpModule(1);
  ASSERT_EQ(rig.ctrl.iSelCam(), 2);
  rig.log.Clear();
  rig.ctrl.SetUpModule(5);
  EXPECT_EQ(rig.ctrl.iSelCam(), 2);
  EXPECT_EQ(rig.ctrl.iCamsOn(), 1);
  EXPECT_NE(rig.log.IndexOf("viewer call 276 (2)"), -1);
  EXPECT_EQ(rig.log.IndexOf("viewer put 19 TRUE"), -1);
  EXPECT_NE(rig.log.IndexOf("pane button 3 2"), -1);
}

TEST_F(SetUpModuleTest, TitlesOnlyForExistingCamerasAndClosedQuotes) {
  StartOn(ServerRoute({"PROPERTY0=0xFF00"}) +
          ModuleRoute(0, {"NUM_OF_CAM = 2", "CAMNAME0=\"\"", "CAMNAME1=\"Open", "CAMNAME2=\"Three\""}));
  rig.ctrl.SetUpModule(0);
  const std::vector<std::string> names = rig.log.LinesOf("viewer");
  // Camera 2's title runs to the next quote: the one that opens camera 3's title.
  EXPECT_EQ(names[0], "viewer put 67 \"\"");
  EXPECT_EQ(names[1], "viewer put 68 \"Open\r\nCAMNAME2=\"");
  EXPECT_EQ(names[2], "viewer put 13 \"\"");
}

TEST_F(SetUpModuleTest, PtzInstalledOnOldServersOnlyBelowTheTypeThreeCount) {
  const std::string modules = ModuleRoute(0, {"PTZINSTFLAG=0x3F"}) + ModuleRoute(1, {"PTZINSTFLAG=0x3F"});
  StartOn(ServerRoute({"PROPERTY0=0xFF00", "VSMMAXCNT=2", "VSMIPTYPE0=3", "VSMNAME0=\"A\"",
                       "VSMIPTYPE1=1", "VSMNAME1=\"B\""}) + modules);
  ASSERT_EQ(rig.pane().fields.iBuildDate, -1);
  ASSERT_EQ(rig.ctrl.iType3Count(), 1);
  rig.ctrl.SetUpModule(0);
  EXPECT_EQ(module().bPtzInstalled, (std::array<int32_t, 6>{1, 1, 1, 1, 1, 1}));
  rig.ctrl.SetUpModule(1);
  EXPECT_EQ(module().bPtzInstalled, (std::array<int32_t, 6>{0, 0, 0, 0, 0, 0}));

  // A new server (with a build date) has PTZ wherever the flag says.
  ControlRig fresh;
  KvsimScenario kvNew(ServerRoute({"SYS_BUILDDATE=0", "PROPERTY0=0xFF00"}) + modules);
  ASSERT_NE(kvNew.port(), 0);
  fresh.PointAt(kvNew.port());
  ASSERT_TRUE(fresh.Start());
  fresh.ctrl.SetUpModule(1);
  EXPECT_EQ(fresh.ctrl.Module().bPtzInstalled, (std::array<int32_t, 6>{1, 1, 1, 1, 1, 1}));
  // Absent flag: -1, every camera.
  KvsimScenario absent(ServerRoute({"SYS_BUILDDATE=3"}) + ModuleRoute(4, {}));
  fresh.PointAt(absent.port());
  fresh.ctrl.SetUpModule(4);
  EXPECT_EQ(fresh.ctrl.Module().dwPtzInstFlag, 0xFFFFFFFFu);
  EXPECT_EQ(fresh.ctrl.Module().bPtzInstalled, (std::array<int32_t, 6>{1, 1, 1, 1, 1, 1}));
}

TEST_F(SetUpModuleTest, FailedReadZeroesThreeValuesAndStops) {
  StartOn(kTwoModules + ModuleRoute(3, {"NUM_OF_CAM = 5", "VIDEO_FORMAT = 1", "NUM_OF_DO = 3"}) +
          "route /asp-get/kvmodinf.asp?KvModId=4\nstatus 401 Unauthorized\n");
  rig.ctrl.SetUpModule(1);
  rig.ctrl.SetUpModule(3);
  ASSERT_EQ(module().iVideoFormat, 1);
  rig.ctrl.SetUpModule(1);
  const ModuleRecord before = module();
  const int32_t ctls = rig.ctrl.Properties().iOperPaneCtls;
  rig.log.Clear();

  rig.ctrl.SetUpModule(9);  // no route: 404
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"File not found (/asp-get/kvmodinf.asp?KvModId=9)"}));
  EXPECT_EQ(rig.ctrl.Properties().iSvrID, 9);
  EXPECT_EQ(module().iNumCam, 0);
  EXPECT_EQ(module().iVideoFormat, 0);
  EXPECT_EQ(module().iNumDo, 0);
  EXPECT_EQ(module().dwViewRights, before.dwViewRights);
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, ctls);
  EXPECT_TRUE(rig.log.calls().empty());

  rig.messages.texts.clear();
  rig.ctrl.SetUpModule(4);
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"Authorization Failed. (/asp-get/kvmodinf.asp?KvModId=4)"}));

  rig.messages.texts.clear();
  const uint16_t closed = ClosedLoopbackPort();
  rig.PointAt(closed);
  rig.ctrl.SetUpModule(0);
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"GetAspWp (/asp-get/kvmodinf.asp?KvModId=0) read failed."}));
  EXPECT_TRUE(rig.log.calls().empty());
}

TEST_F(SetUpModuleTest, ModuleMinusOneIsRequestedAndGetsNoRights) {
  StartOn(ServerRoute({"PROPERTY0=0xFFFF"}) + ModuleRoute(-1, {"NUM_OF_CAM = 6"}));
  rig.ctrl.SetUpModule(-1);
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(rig.ctrl.Properties().iSvrID, -1);
  EXPECT_EQ(module().dwViewRights, 0u);
  EXPECT_NE(rig.log.IndexOf("uart put 13 -1"), -1);
  EXPECT_NE(rig.log.IndexOf("viewer put 17 -1"), -1);
  EXPECT_EQ(rig.log.IndexOf("viewer put 18 TRUE"), -1);
}

TEST_F(SetUpModuleTest, ModulePageFillingTheWholeBufferIsReadInsideIt) {
  StartOn(ServerRoute({"PROPERTY0=0xFF00"}));
  const std::string head = "HTTP/1.1 200 OK\r\n\r\nNUM_OF_CAM = 2 CAMNAME0=\"Gate\" ";
  const std::string tail = "CAMNAME1=\"Unclosed PTZFUNCOPTFLAG=7 NUM_OF_DO = 12";
  const std::string body = head + std::string(10240 - head.size() - tail.size(), '.') + tail;
  std::string escaped;
  for (const char c : body) {
    if (c == '"') escaped += "\\\"";
    else if (c == '\r') escaped += "\\r";
    else if (c == '\n') escaped += "\\n";
    else escaped += c;
  }
  KvsimScenario full("route /asp-get/kvmodinf.asp?KvModId=0\nraw\n" + escaped + "\nend\n" +
                     "route /asp-get/kvmodinf.asp?KvModId=1\nraw\n" + escaped + "PTZINSTFLAG\nend\n");
  rig.PointAt(full.port());
  rig.ctrl.SetUpModule(0);
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(module().iNumDo, 12);
  EXPECT_EQ(module().iPtzFuncOptFlag, 7);
  EXPECT_EQ(module().dwPtzInstFlag, 0xFFFFFFFFu);
  const std::vector<std::string> viewer = rig.log.LinesOf("viewer");
  EXPECT_EQ(viewer[0], "viewer put 67 \"Gate\"");
  EXPECT_EQ(viewer[1], "viewer put 13 \"\"");  // camera 2's title has no closing quote
  // The 11 more bytes are cut off by the buffer: "PTZINSTFLAG" is never seen.
  rig.ctrl.SetUpModule(1);
  EXPECT_EQ(module().dwPtzInstFlag, 0xFFFFFFFFu);
}

TEST_F(SetUpModuleTest, PtzInstFlagAtTheVeryEndReadsNothingBeyond) {
  StartOn(ServerRoute({"PROPERTY0=0xFF00"}));
  const std::string head = "HTTP/1.1 200 OK\\r\\n\\r\\n";
  const std::string tail = "PTZINSTFLAG=";
  KvsimScenario full("route /asp-get/kvmodinf.asp?KvModId=0\nraw\n" + head +
                     std::string(10240 - 19 - tail.size(), '.') + tail + "\nend\n");
  rig.PointAt(full.port());
  rig.ctrl.SetUpModule(0);
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(module().dwPtzInstFlag, 0u);
  EXPECT_EQ(module().bPtzInstalled, (std::array<int32_t, 6>{0, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace pel::test
