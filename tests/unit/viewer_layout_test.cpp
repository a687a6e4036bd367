// The viewer's layout step, the move handling, the viewer's camera-selected and picture-width
// events, the drawing geometry, the in-place placement and the scripting-safety answers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/ObjectSafety.h"
#include "support/ControlRig.h"
#include "support/Kvsim.h"

namespace pel::test {
namespace {

// Module 0 with six cameras, all viewable and steerable; PTZ installed on cameras 1 and 3.
std::string Scenario(const std::string& buildDate, const std::string& videoFormat) {
  return ServerRoute({buildDate, "PROPERTY0=0x00F3", "VSMMAXCNT=1", "VSMIPTYPE0=3",
                      "VSMNAME0=\"Main\""}) +
         ModuleRoute(0, {"NUM_OF_CAM = 6", "VIDEO_FORMAT = " + videoFormat, "PTZINSTFLAG=0x5"});
}

struct Layout : ::testing::Test {
  ControlRig rig;
  std::unique_ptr<KvsimScenario> kv;

  void StartOn(const std::string& scenario, int x = 0, int y = 0) {
    kv = std::make_unique<KvsimScenario>(scenario);
    ASSERT_NE(kv->port(), 0);
    rig.PointAt(kv->port());
    ASSERT_TRUE(rig.Start(x, y));
    ASSERT_TRUE(rig.messages.texts.empty());
    rig.log.Clear();
  }
  void SetUp() override { StartOn(Scenario("SYS_BUILDDATE=1", "0")); }

  // Cameras shown in the viewer, as the pane's commands would leave them.
  void Show(std::vector<int> cameras) {
    const int32_t dispids[6] = {18, 19, 20, 21, 168, 169};
    for (int c = 1; c <= 6; ++c) rig.viewer().Preset(dispids[c - 1], Variant::Bool(false));
    for (int c : cameras) rig.viewer().Preset(dispids[c - 1], Variant::Bool(true));
  }
  void Layout_() {
    rig.log.Clear();
    rig.ctrl.OnCameraLayout();
  }
  std::vector<std::string> Windows() { return rig.log.LinesOf("window"); }
};

TEST_F(Layout, GridOfTwoInItsOrder) {
  Show({2, 4});
  Layout_();
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{
                                 "viewer get 151", "viewer get 18", "viewer get 19",
                                 "viewer get 20", "viewer get 21", "viewer get 168",
                                 "viewer get 169", "viewer get 13", "viewer put 158 352",
                                 "viewer put 159 240", "viewer put 151 FALSE",
                                 "viewer put 22 FALSE", "viewer put 1 R8:1", "viewer put 2 R8:1",
                                 "viewer put 3 R8:1", "viewer put 4 R8:1", "viewer put 162 R8:1",
                                 "viewer put 163 R8:1", "viewer call 277", "viewer call 276 (2)",
                                 "window invalidate erase", "window update"}));
  EXPECT_EQ(rig.ctrl.iCamsOn(), 2);
  EXPECT_EQ(rig.ctrl.previousCamsOn(), 2);
  EXPECT_EQ(rig.ctrl.iSelCam(), 2);
}

TEST_F(Layout, SingleViewHasNoTiles) {
  Show({6});
  Layout_();
  EXPECT_EQ(rig.log.LinesOf("viewer"),
            (std::vector<std::string>{"viewer get 151", "viewer get 18", "viewer get 19",
                                      "viewer get 20", "viewer get 21", "viewer get 168",
                                      "viewer get 169", "viewer get 13", "viewer put 158 0",
                                      "viewer put 159 0", "viewer put 151 FALSE",
                                      "viewer put 22 TRUE", "viewer call 277",
                                      "viewer call 276 (6)"}));
  EXPECT_EQ(rig.ctrl.iSelCam(), 6);
}

TEST_F(Layout, ViewerMovesOnlyWhenTheWidthClassChanges) {
  rig.ctrl.OnMove(8, 8);
  Show({1, 2, 3, 4, 5});
  Layout_();
  EXPECT_EQ(Windows(), (std::vector<std::string>{"window move 215 18 1074 544",
                                                  "window invalidate erase", "window update"}));
  Show({1, 2, 3, 4, 5, 6});
  Layout_();
  EXPECT_EQ(rig.log.IndexOf("window move 215 18 1074 544"), -1);
  Show({1, 2, 3});
  Layout_();
  EXPECT_NE(rig.log.IndexOf("window move 215 18 716 544"), -1);
  Show({1, 2});
  Layout_();
  EXPECT_EQ(Windows(), (std::vector<std::string>{"window invalidate erase", "window update"}));
}

TEST_F(Layout, NothingChangesWhileTheViewerRunsItsSequence) {
  Show({2, 3});
  rig.viewer().Preset(151, Variant::Bool(true));
  const int32_t selected = rig.ctrl.iSelCam();
  Layout_();
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"viewer get 151"}));
  EXPECT_EQ(rig.ctrl.iSelCam(), selected);
  EXPECT_EQ(rig.ctrl.iCamsOn(), 1);
}

TEST_F(Layout, NoCameraDisconnectsAndOneReconnects) {
  Show({});
  Layout_();
  EXPECT_EQ(rig.log.LinesOf("viewer"),
            (std::vector<std::string>{"viewer get 151", "viewer get 18", "viewer get 19",
                                      "viewer get 20", "viewer get 21", "viewer get 168",
                                      "viewer get 169", "viewer get 13", "viewer put 13 \"\"",
                                      "viewer put 151 FALSE", "viewer put 5 FALSE",
                                      "viewer put 6 FALSE", "viewer put 7 FALSE",
                                      "viewer put 8 FALSE", "viewer put 164 FALSE",
                                      "viewer put 165 FALSE", "viewer call 277",
                                      "viewer call 276 (0)"}));
  EXPECT_EQ(rig.ctrl.iSelCam(), 0);
  EXPECT_EQ(rig.ctrl.iCamsOn(), 0);

  // Already disconnected: nothing more to put.
  Layout_();
  EXPECT_EQ(rig.log.IndexOf("viewer put 13 \"\""), -1);

  Show({3});
  Layout_();
  const std::vector<std::string> viewer = rig.log.LinesOf("viewer");
  const std::vector<std::string> reconnect(viewer.begin() + 8, viewer.begin() + 16);
  EXPECT_EQ(reconnect, (std::vector<std::string>{"viewer put 5 TRUE", "viewer put 6 TRUE",
                                                  "viewer put 7 TRUE", "viewer put 8 TRUE",
                                                  "viewer put 164 TRUE", "viewer put 165 TRUE",
                                                  "viewer put 151 FALSE",
                                                  "viewer put 13 \"127.0.0.1\""}));
  EXPECT_EQ(viewer.back(), "viewer call 276 (3)");
  EXPECT_EQ(rig.ctrl.iSelCam(), 3);
}

TEST_F(Layout, DoubleViewCameraKeepsTheSelection) {
  rig.ctrl.SetDoubleView(0x0A, 4);
  Show({2, 4});
  Layout_();
  EXPECT_EQ(rig.ctrl.iSelCam(), 4);
  Show({});
  Layout_();
  EXPECT_EQ(rig.ctrl.iSelCam(), 0);
  // A double-view camera out of range selects nothing rather than indexing anything.
  rig.ctrl.SetDoubleView(0x1, 9);
  Show({1});
  Layout_();
  EXPECT_EQ(rig.ctrl.iSelCam(), 0);
  rig.ctrl.SetDoubleView(0, -1);
  Layout_();
  EXPECT_EQ(rig.ctrl.iSelCam(), 1);
}

TEST_F(Layout, The576LineFormatUsesTallerSizes) {
  StartOn(Scenario("SYS_BUILDDATE=1", "1"));
  Show({1, 2, 3, 4, 5});
  Layout_();
  EXPECT_NE(rig.log.IndexOf("window move 207 10 1074 640"), -1);
  EXPECT_NE(rig.log.IndexOf("viewer put 159 288"), -1);
}

TEST_F(Layout, MoveRefreshesTheSelectedCameraAndPlacesTheChildren) {
  rig.ctrl.OnMove(8, 8);
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"viewer put 152 TRUE",
                                                        "window move 215 18 716 544",
                                                        "window size-pane 180 700",
                                                        "window invalidate erase"}));
  EXPECT_EQ(rig.ctrl.windowX(), 8);
  EXPECT_EQ(rig.ctrl.windowY(), 8);

  // Six cameras shown, camera 5 selected: the wide size and camera 5's refresh flag.
  Show({1, 2, 3, 4, 5, 6});
  Layout_();
  rig.ctrl.OnViewerCameraSelected(5);
  rig.log.Clear();
  rig.ctrl.OnMove(0, 0);
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"viewer put 228 TRUE",
                                                        "window move 207 10 1074 544",
                                                        "window size-pane 180 700",
                                                        "window invalidate erase"}));
  // No selected camera: no refresh flag.
  Show({});
  Layout_();
  rig.log.Clear();
  rig.ctrl.OnMove(3, 4);
  EXPECT_EQ(rig.log.LinesOf("viewer"), std::vector<std::string>{});
  EXPECT_EQ(rig.log.LinesOf("window").front(), "window move 210 14 716 544");
  rig.ctrl.OnSize(900, 700);
  EXPECT_EQ(rig.ctrl.windowCx(), 900);
  EXPECT_EQ(rig.ctrl.windowCy(), 700);
}

TEST_F(Layout, CameraSelectedAimsThePtzPanel) {
  rig.ctrl.OnViewerCameraSelected(3);
  EXPECT_EQ(rig.ctrl.iSelCam(), 3);
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"uart call 40 (TRUE)", "uart put 12 2",
                                                        "uart call 41", "uart call 42"}));
  // Camera 2 has no PTZ installed; camera 0 is none; 9 is no camera at all.
  for (int32_t camera : {2, 0, 9, -3}) {
    rig.log.Clear();
    rig.ctrl.OnViewerCameraSelected(camera);
    EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"uart call 40 (FALSE)"})) << camera;
  }
  EXPECT_EQ(rig.ctrl.iSelCam(), 0);
  rig.ctrl.OnViewerCameraSelected(2);
  EXPECT_EQ(rig.ctrl.iSelCam(), 2);
}

TEST_F(Layout, PtzOnOldServersOnlyWithModuleIdZero) {
  StartOn(Scenario("no build date", "0"));
  ASSERT_EQ(rig.pane().fields.iBuildDate, -1);
  rig.ctrl.OnViewerCameraSelected(1);
  EXPECT_EQ(rig.log.Lines().front(), "uart call 40 (TRUE)");
  rig.ctrl.SetISvrID(1);  // stored only; the module stays set up
  rig.log.Clear();
  rig.ctrl.OnViewerCameraSelected(1);
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"uart call 40 (FALSE)"}));
}

TEST_F(Layout, PtzNeedsTheRight) {
  StartOn(ServerRoute({"SYS_BUILDDATE=1", "PROPERTY0=0x00F1", "VSMMAXCNT=1", "VSMIPTYPE0=1",
                       "VSMNAME0=\"Main\""}) +
          ModuleRoute(0, {"PTZINSTFLAG=0x3F"}));
  rig.ctrl.OnViewerCameraSelected(1);
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"uart call 40 (FALSE)"}));
}

TEST_F(Layout, PictureWidthUpdatesOneEntryAndPostsOneLayout) {
  rig.ctrl.OnViewerPictureWidth(3, 704);
  EXPECT_EQ(rig.log.Lines(), (std::vector<std::string>{"window post-layout"}));
  for (int camera = 1; camera <= 6; ++camera) {
    EXPECT_EQ(rig.ctrl.pictureWidth(camera), camera == 3 ? 704 : 352) << camera;
  }
  rig.ctrl.OnViewerPictureWidth(7, 640);
  rig.ctrl.OnViewerPictureWidth(0, 640);
  rig.ctrl.OnViewerPictureWidth(-1, 640);
  EXPECT_EQ(rig.window.posts, 4);
  for (int camera = 1; camera <= 6; ++camera) {
    EXPECT_EQ(rig.ctrl.pictureWidth(camera), camera == 3 ? 704 : 352) << camera;
  }
  EXPECT_EQ(rig.ctrl.pictureWidth(7), 0);
}

TEST(ControlDrawing, WhiteFillAndDividerFollowThePosition) {
  CallLog log;
  RecordingMessages messages;
  FakeControlWindow window(log);
  FakeBrowserProxySetting proxy;
  CPelioranCtrl ctrl(ControlPorts{messages, window, proxy});
  const Rect bounds{0, 0, 1300, 720};
  ControlDrawing d = ctrl.Drawing(bounds);
  EXPECT_EQ(d.fill, bounds);
  EXPECT_EQ(d.fillColor, 0x00FFFFFFu);
  EXPECT_EQ(d.divider, (Rect{190, 0, 192, 2000}));
  ctrl.OnMove(8, 8);
  d = ctrl.Drawing(bounds);
  EXPECT_EQ(d.divider, (Rect{198, 8, 200, 2008}));
  EXPECT_EQ(d.fill, bounds);
}

TEST(InPlacePlacement, FullPositionRectangleWhateverTheClip) {
  const Rect position{20, 30, 1320, 750};
  const InPlacePlacement p = PlaceInPlace(position);
  EXPECT_EQ(p.x, 20);
  EXPECT_EQ(p.y, 30);
  EXPECT_EQ(p.width, 1300);
  EXPECT_EQ(p.height, 720);
}

TEST(ObjectSafety, ReportsThreeAndThreeAndChecksTheMask) {
  using namespace object_safety;
  uint32_t supported = 0;
  uint32_t enabled = 0;
  EXPECT_EQ(GetInterfaceSafetyOptions(true, &supported, &enabled), kSOk);
  EXPECT_EQ(supported, 3u);
  EXPECT_EQ(enabled, 3u);
  supported = enabled = 0;
  EXPECT_EQ(GetInterfaceSafetyOptions(false, &supported, &enabled),
            static_cast<int32_t>(0x80004002u));
  EXPECT_EQ(supported, 3u);
  EXPECT_EQ(enabled, 3u);

  EXPECT_EQ(SetInterfaceSafetyOptions(false, 1, 1), kENoInterface);
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 3, 3), kSOk);
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 1, 3), kSOk);
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 0, 0), kSOk);
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 2, 2), kSOk);
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 3, 1), static_cast<int32_t>(0x80004005u));
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 1, 0), kEFail);
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 4, 7), kEFail);
  EXPECT_EQ(SetInterfaceSafetyOptions(true, 0x10, 0x10), kEFail);
}

}  // namespace
}  // namespace pel::test
