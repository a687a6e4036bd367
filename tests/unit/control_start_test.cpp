// The start sequence end to end against kvsim: the children, the page reads, the first module
// and camera mode, with and without a hosting browser, with a bad address and with an
// unreachable server.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ControlRig.h"
#include "support/HttpPeers.h"
#include "support/Kvsim.h"

namespace pel::test {
namespace {

const std::string kServer =
    ServerRoute({"SYS_BUILDDATE=20100101", "PROPERTY0=0x0201FF00", "VSMMAXCNT=3", "VSMIPTYPE0=0",
                 "VSMIPTYPE1=1", "VSMNAME1=\"Hall\"", "VSMIPTYPE2=1", "VSMNAME2=\"Yard\""}) +
    ModuleRoute(1, {"NUM_OF_CAM = 4", "CAMNAME0=\"Door\""});

TEST(ControlStart, RunsEveryStepInOrderWithoutABrowser) {
  KvsimScenario kv(kServer);
  ASSERT_NE(kv.port(), 0);
  ControlRig rig;
  rig.PointAt(kv.port());
  rig.ctrl.SetISvrID(2);  // does not choose the module
  rig.ctrl.SetIOperPaneCtls(0x1);
  ASSERT_TRUE(rig.Start(8, 8));
  EXPECT_TRUE(rig.messages.texts.empty());

  const std::vector<std::string> lines = rig.log.Lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "children create-pane");
  EXPECT_EQ(lines[1], "children create-viewer");
  EXPECT_EQ(lines[2], "viewer put 67 \"Door\"");
  EXPECT_EQ(lines.back(), "pane mode 1");
  EXPECT_NE(rig.log.IndexOf("window move 215 18 716 544"), -1);
  EXPECT_EQ(rig.children.paneId, 0xE900);
  EXPECT_EQ(rig.children.paneRect.left, 10);
  EXPECT_EQ(rig.children.paneRect.top, 10);
  EXPECT_EQ(rig.children.paneRect.right, 180);
  EXPECT_EQ(rig.children.paneRect.bottom, 700);
  EXPECT_EQ(rig.children.viewerId, 206);
  EXPECT_EQ(rig.children.viewerRect.left, 207);
  EXPECT_EQ(rig.children.viewerRect.top, 10);
  EXPECT_EQ(rig.children.viewerRect.right, 0);
  EXPECT_EQ(rig.children.viewerRect.bottom, 0);

  EXPECT_EQ(rig.ctrl.viewerOriginLeft(), 207);
  EXPECT_EQ(rig.ctrl.viewerOriginTop(), 10);
  EXPECT_EQ(rig.ctrl.windowX(), 8);
  EXPECT_EQ(rig.ctrl.windowY(), 8);
  EXPECT_EQ(rig.ctrl.hostBrowser(), nullptr);
  EXPECT_EQ(rig.ctrl.Properties().strIpAddr, "127.0.0.1");
  EXPECT_EQ(rig.ctrl.Properties().iSvrID, 1);  // the first listed module
  EXPECT_EQ(rig.ctrl.Properties().iOperPaneCtls, 0x3 | 0x7EC00);
  EXPECT_EQ(rig.pane().modes, (std::vector<int>{1}));

  const std::vector<std::string> requests = WaitForRequests(kv, 2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], ExpectedRequest("/asp-get/kvsvrinf.asp", "127.0.0.1", kv.port()));
  EXPECT_EQ(requests[1], ExpectedRequest("/asp-get/kvmodinf.asp?KvModId=1", "127.0.0.1", kv.port()));
}

TEST(ControlStart, NegativeCreationPositionMeansOrigin) {
  KvsimScenario kv(kServer);
  ControlRig rig;
  rig.PointAt(kv.port());
  ASSERT_TRUE(rig.Start(-1, 40));
  EXPECT_EQ(rig.ctrl.windowX(), 0);
  EXPECT_EQ(rig.ctrl.windowY(), 0);
  EXPECT_NE(rig.log.IndexOf("window move 207 10 716 544"), -1);
}

TEST(ControlStart, ChildrenAndDividerFollowTheDisplayScale) {
  KvsimScenario kv(kServer);
  ControlRig rig;
  rig.PointAt(kv.port());
  ASSERT_TRUE(rig.Start(8, 8, nullptr, 144));
  EXPECT_EQ(rig.children.paneRect.left, 15);
  EXPECT_EQ(rig.children.paneRect.right, 270);
  EXPECT_EQ(rig.children.paneRect.bottom, 1050);
  EXPECT_EQ(rig.children.viewerRect.left, 311);
  EXPECT_EQ(rig.children.viewerRect.top, 15);
  // The viewer's own size is its pictures', in pixels; only its place scales.
  EXPECT_NE(rig.log.IndexOf("window move 319 23 716 544"), -1);
  rig.ctrl.OnMove(8, 8);
  EXPECT_NE(rig.log.IndexOf("window size-pane 270 1050"), -1);
  EXPECT_EQ(rig.ctrl.Drawing(Rect{0, 0, 1900, 1000}).divider, (Rect{293, 8, 296, 3008}));
  // A figure the system cannot mean is taken as 96 DPI.
  EXPECT_EQ(DisplayScale(5000).Px(207), 207);
  EXPECT_EQ(DisplayScale(120).Px(-3), -4);
}

TEST(ControlStart, HostingBrowserGivesThePagesAddress) {
  KvsimScenario kv(kServer);
  ASSERT_NE(kv.port(), 0);
  ControlRig rig;
  FakeHostBrowser browser = FakeHostBrowser::FromBytes(
      "http://127.0.0.1:" + std::to_string(kv.port()) + "/live.html");
  ASSERT_TRUE(rig.Start(0, 0, &browser));
  EXPECT_EQ(rig.ctrl.hostBrowser(), &browser);
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(rig.ctrl.Properties().strIpAddr, "127.0.0.1");
  EXPECT_EQ(rig.ctrl.Properties().iHttpPort, kv.port());
  EXPECT_EQ(rig.ctrl.Properties().strIpAddrProxy, "");
  EXPECT_EQ(rig.ctrl.Properties().iSvrID, 1);
  EXPECT_EQ(rig.pane().modules.Texts(), (std::vector<std::string>{"Hall", "Yard"}));
  EXPECT_EQ(WaitForRequests(kv, 2).size(), 2u);
}

TEST(ControlStart, AddressIsNormalisedOnlyInABrowser) {
  KvsimScenario kv(kServer);
  ASSERT_NE(kv.port(), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(kv.port()) + "/index.html";
  {
    ControlRig rig;
    rig.ctrl.SetStrIpAddr(url);
    FakeHostBrowser browser = FakeHostBrowser::FromBytes("file:///c:/page.html");
    ASSERT_TRUE(rig.Start(0, 0, &browser));
    EXPECT_EQ(rig.ctrl.Properties().strIpAddr, "127.0.0.1");
    EXPECT_EQ(rig.ctrl.Properties().iHttpPort, kv.port());
    EXPECT_TRUE(rig.messages.texts.empty());
  }
  {
    ControlRig rig;
    rig.ctrl.SetStrIpAddr(url);
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.ctrl.Properties().strIpAddr, url);  // used as it is, and fails
    EXPECT_EQ(rig.messages.texts,
              (std::vector<std::string>{"GetAspWp (/asp-get/kvsvrinf.asp) read failed.",
                                        "GetAspWp (/asp-get/kvmodinf.asp?KvModId=-1) read failed."}));
  }
}

TEST(ControlStart, BadAddressIsEmptiedAndThePaneStillLaidOut) {
  ControlRig rig;
  rig.ctrl.SetStrIpAddr("no-such-host");
  FakeHostBrowser browser = FakeHostBrowser::FromBytes("http://127.0.0.1/live.html");
  ASSERT_TRUE(rig.Start(0, 0, &browser));
  EXPECT_EQ(rig.resolver.asked(), (std::vector<std::string>{"no-such-host"}));
  EXPECT_EQ(rig.ctrl.Properties().strIpAddr, "");
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"Bad URL format",
                                      "GetAspWp (/asp-get/kvsvrinf.asp) read failed.",
                                      "GetAspWp (/asp-get/kvmodinf.asp?KvModId=-1) read failed."}));
  EXPECT_EQ(rig.pane().modes, (std::vector<int>{1}));
}

TEST(ControlStart, UnreachableServerGivesMessagesDefaultsAndCameraMode) {
  const uint16_t closed = ClosedLoopbackPort();
  ASSERT_NE(closed, 0);
  ControlRig rig;
  rig.PointAt(closed);
  ASSERT_TRUE(rig.Start());
  EXPECT_EQ(rig.messages.texts,
            (std::vector<std::string>{"GetAspWp (/asp-get/kvsvrinf.asp) read failed.",
                                      "GetAspWp (/asp-get/kvmodinf.asp?KvModId=-1) read failed."}));
  EXPECT_EQ(rig.pane().fields.iUdpPort, 32001);
  EXPECT_EQ(rig.pane().fields.iBuildDate, 0);
  EXPECT_EQ(rig.ctrl.iAudioDeviceType(), -1);
  EXPECT_EQ(rig.ctrl.iModuleCount(), 0);
  EXPECT_EQ(rig.ctrl.Properties().iSvrID, -1);
  EXPECT_EQ(rig.ctrl.iNumCam(), 0);
  EXPECT_EQ(rig.ctrl.iVideoFormat(), 0);
  EXPECT_EQ(rig.ctrl.iNumDo(), 0);
  EXPECT_EQ(rig.ctrl.iSelCam(), 1);
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"children create-pane",
                                                        "children create-viewer", "pane mode 1"}));
}

TEST(ControlStart, PaneFailureFailsTheStartBeforeAnyRead) {
  KvsimScenario kv(kServer);
  ControlRig rig;
  rig.PointAt(kv.port());
  rig.children.paneFails = true;
  EXPECT_FALSE(rig.Start());
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"children create-pane"}));
  EXPECT_EQ(rig.ctrl.pane(), nullptr);
  EXPECT_TRUE(kv.requests().empty());
  EXPECT_TRUE(rig.messages.texts.empty());
}

TEST(ControlStart, MissingViewerDoesNotStopTheStart) {
  KvsimScenario kv(kServer);
  ControlRig rig;
  rig.PointAt(kv.port());
  rig.children.viewerFails = true;
  ASSERT_TRUE(rig.Start());
  EXPECT_FALSE(rig.ctrl.viewer().IsCreated());
  EXPECT_TRUE(rig.log.LinesOf("viewer").empty());
  EXPECT_EQ(rig.ctrl.strServerTag(), "");
  EXPECT_EQ(rig.ctrl.iNumCam(), 4);
  EXPECT_EQ(rig.pane().modes, (std::vector<int>{1}));
  // Layout and events still work on the missing component.
  rig.ctrl.RecomputeViewerLayout();
  EXPECT_EQ(rig.ctrl.iCamsOn(), 0);
  EXPECT_EQ(rig.ctrl.iSelCam(), 0);
}

}  // namespace
}  // namespace pel::test
