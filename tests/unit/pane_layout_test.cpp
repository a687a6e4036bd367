// The operation pane's creation, its camera-mode layout from iOperPaneCtls, PTZ mode, painting
// and list notifications, with the control started against kvsim.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "pane/PaneLayout.h"
#include "support/PaneRig.h"

namespace pel::test {
namespace {

const std::vector<std::string> kSixCameras = {"NUM_OF_CAM = 6", "VIDEO_FORMAT = 0"};

std::string Str(const ChildRect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

// The place of grid cell k, `cells` wide, `height` high.
std::string Cell(int k, int cells = 1, int height = 24) {
  return std::to_string(k % 2 == 0 ? 10 : 82) + " " + std::to_string(40 + 24 * (k / 2)) + " " +
         std::to_string(72 * cells) + " " + std::to_string(height);
}

// Every control of camera mode that has a size, with its place; all of them shown in camera
// mode and hidden in PTZ mode.
std::map<int, std::string> Placed(PaneRig& rig) {
  std::map<int, std::string> placed;
  for (int control : CameraModeControls()) {
    EXPECT_EQ(rig.view.controls[static_cast<size_t>(control)].shown, rig.pane.mode() == 1);
    if (rig.view.controls[static_cast<size_t>(control)].width != 0) {
      placed[control] = rig.view.Place(control);
    }
  }
  return placed;
}

struct PaneLayoutTest : ::testing::Test {
  PaneRig rig;

  void Start(const std::string& scenario) { ASSERT_TRUE(rig.Start(scenario)); }
  std::map<int, std::string> Placed() { return test::Placed(rig); }
};

TEST_F(PaneLayoutTest, CreationBuildsButtonsPanelListsAndBackground) {
  Start(PaneScenario("0x00F1", kSixCameras));
  FakePaneView& view = rig.view;
  EXPECT_EQ(view.childIds[kButtonCam], 3000);
  EXPECT_EQ(view.childIds[kButtonRelay], 3016);
  EXPECT_EQ(view.childIds[kButtonModuleLabel], 3017);
  EXPECT_EQ(view.childIds[kButtonSpeedLabel], 3019);
  EXPECT_EQ(view.childIds[kPaneCtlModuleList], 3018);
  EXPECT_EQ(view.childIds[kPaneCtlSpeedList], 0);
  EXPECT_EQ(view.childIds[kPaneCtlPanel], 209);
  EXPECT_EQ(view.skins.cuts.size(), 19u * 4u);
  // Sequence's cell is two cells wide, in all four skins.
  EXPECT_EQ(view.skins.cuts[10 * 4 + 1], (std::pair<int, PixelRect>{209, {288, 48, 432, 72}}));
  EXPECT_EQ(rig.pane.Button(kButton2x).rect().left, 83);

  for (int i = 0; i < 19; ++i) {
    const CSkinButton& b = rig.pane.Button(i);
    EXPECT_EQ(b.IsToggle(), i <= kButtonPause && i != kButtonAll && i != kButtonNone) << i;
    EXPECT_EQ(b.tooltip().active(), i < kButtonModuleLabel) << i;
  }
  EXPECT_EQ(rig.pane.Button(kButtonRelay).tooltip().text(), "Relay ouput control");
  EXPECT_EQ(rig.pane.Button(kButtonModuleLabel).tooltip().text(), "Voice");
  EXPECT_EQ(Str(rig.pane.Grid()[21]), "82 280 154 304");
  EXPECT_EQ(rig.pane.ModuleCombo().kind(), kComboKindModules);
  EXPECT_EQ(rig.pane.SpeedCombo().kind(), kComboKindSpeed);
  EXPECT_TRUE(rig.pane.SpeedCombo().tooltip().active());
  EXPECT_EQ(view.paneWidth, 174);
  EXPECT_EQ(view.paneHeight, 478);

  const PanePainting paint = rig.pane.Painting();
  EXPECT_EQ(paint.backgroundBitmap, 217);
  EXPECT_EQ(Str(paint.frame), "0 24 164 418");
  EXPECT_STREQ(paint.versionText, "Version : 3.0.0.11");
  EXPECT_EQ(paint.textX, 26);
  EXPECT_EQ(paint.textY, 402);

  rig.pane.OnPanelSizeChanged(150, 300);
  EXPECT_EQ(view.Place(kPaneCtlPanel), "0 24 150 300");
  EXPECT_EQ(rig.pane.GetServerId(), 0);
  EXPECT_EQ(rig.pane.GetSelectedCamera(), 1);
}

TEST(PaneCreationTest, PanelListOrBackgroundFailureFailsTheStart) {
  for (int failing = 0; failing < 3; ++failing) {
    PaneRig rig;
    rig.view.panelFails = failing == 0;
    rig.view.comboFails = failing == 1;
    rig.view.backgroundFails = failing == 2;
    EXPECT_FALSE(rig.Start(PaneScenario("0x00F1", kSixCameras))) << failing;
  }
}

TEST_F(PaneLayoutTest, PlacementsByCamerasAndModules) {
  struct Case {
    const char* name;
    std::string property0;
    std::vector<std::string> server;
    int modules;
    std::map<int, std::string> placed;
  };
  const std::string list2 = Cell(2, 2, 120);
  const std::vector<Case> cases = {
      {"one camera, one module", "0x0001", {}, 1,
       {{kButtonSpeedLabel, Cell(0)}, {kPaneCtlSpeedList, Cell(1, 1, 120)}, {kButtonPause, Cell(2)},
        {kButtonSnap, Cell(3)}, {kButton1x, Cell(4)}, {kButton2x, Cell(5)},
        {kButtonVoice, Cell(6)}, {kButtonRelay, Cell(7)}}},
      {"three cameras, one module", "0x00110001", {"PROPERTY1=0x0021"}, 1,
       {{kButtonCam1, "10 40 72 24"}, {kButtonCam1 + 1, "82 40 72 24"},
        {kButtonCam1 + 2, "10 64 72 24"}, {kButtonAll, "10 88 72 24"},
        {kButtonNone, "82 88 72 24"}, {kButtonSpeedLabel, "10 112 72 24"},
        {kPaneCtlSpeedList, "82 112 72 120"}, {kButtonSequence, "10 136 144 24"},
        {kButtonPause, "10 160 72 24"}, {kButtonSnap, "82 160 72 24"},
        {kButton1x, "10 184 72 24"}, {kButton2x, "82 184 72 24"},
        {kButtonVoice, "10 208 72 24"}, {kButtonRelay, "82 208 72 24"}}},
      {"six cameras, one module", "0x00F1", {}, 1,
       {{kButtonCam1, Cell(0)}, {kButtonCam1 + 1, Cell(1)}, {kButtonCam1 + 2, Cell(2)},
        {kButtonCam1 + 3, Cell(3)}, {kButtonCam1 + 4, Cell(4)}, {kButtonCam1 + 5, Cell(5)},
        {kButtonAll, Cell(6)}, {kButtonNone, Cell(7)}, {kButtonSpeedLabel, Cell(8)},
        {kPaneCtlSpeedList, Cell(9, 1, 120)}, {kButtonSequence, Cell(10, 2)},
        {kButtonPause, Cell(12)}, {kButtonSnap, Cell(13)}, {kButton1x, Cell(14)},
        {kButton2x, Cell(15)}, {kButtonVoice, Cell(16)}, {kButtonRelay, Cell(17)}}},
      {"one camera, two modules", "0x0001FF00", {}, 2,
       {{kButtonModuleLabel, Cell(0, 2)}, {kPaneCtlModuleList, list2},
        {kButtonSpeedLabel, Cell(4)}, {kPaneCtlSpeedList, Cell(5, 1, 120)},
        {kButtonPause, Cell(6)}, {kButtonSnap, Cell(7)}, {kButton1x, Cell(8)},
        {kButton2x, Cell(9)}, {kButtonVoice, Cell(10)}, {kButtonRelay, Cell(11)}}},
      {"three cameras, two modules", "0x0001FF00", {"PROPERTY1=0x00210011"}, 2,
       {{kButtonModuleLabel, Cell(0, 2)}, {kPaneCtlModuleList, list2},
        {kButtonCam1, Cell(4)}, {kButtonCam1 + 1, Cell(5)}, {kButtonCam1 + 2, Cell(6)},
        {kButtonAll, Cell(8)}, {kButtonNone, Cell(9)}, {kButtonSpeedLabel, Cell(10)},
        {kPaneCtlSpeedList, Cell(11, 1, 120)}, {kButtonSequence, Cell(12, 2)},
        {kButtonPause, Cell(14)}, {kButtonSnap, Cell(15)}, {kButton1x, Cell(16)},
        {kButton2x, Cell(17)}, {kButtonVoice, Cell(18)}, {kButtonRelay, Cell(19)}}},
      {"six cameras, two modules", "0x00F1FF00", {}, 2,
       {{kButtonModuleLabel, Cell(0, 2)}, {kPaneCtlModuleList, list2},
        {kButtonCam1, Cell(4)}, {kButtonCam1 + 1, Cell(5)}, {kButtonCam1 + 2, Cell(6)},
        {kButtonCam1 + 3, Cell(7)}, {kButtonCam1 + 4, Cell(8)}, {kButtonCam1 + 5, Cell(9)},
        {kButtonAll, Cell(10)}, {kButtonNone, Cell(11)}, {kButtonSpeedLabel, Cell(12)},
        {kPaneCtlSpeedList, Cell(13, 1, 120)}, {kButtonSequence, Cell(14, 2)},
        {kButtonPause, Cell(16)}, {kButtonSnap, Cell(17)}, {kButton1x, Cell(18)},
        {kButton2x, Cell(19)}, {kButtonVoice, Cell(20)}, {kButtonRelay, "82 280 72 24"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PaneRig rig;
    ASSERT_TRUE(rig.Start(PaneScenario(c.property0, kSixCameras, c.modules, c.server)));
    EXPECT_EQ(test::Placed(rig), c.placed);
  }
}

TEST_F(PaneLayoutTest, PtzModeHidesAndCameraModeRestores) {
  Start(PaneScenario("0x00F1FF00", kSixCameras, 2));
  const std::map<int, std::string> before = Placed();
  rig.Click(kButtonPtz);
  EXPECT_EQ(rig.pane.mode(), 2);
  EXPECT_TRUE(Placed().empty());
  EXPECT_TRUE(rig.view.controls[kPaneCtlPanel].shown);
  EXPECT_TRUE(rig.pane.Button(kButtonPtz).IsLatched());
  EXPECT_FALSE(rig.pane.Button(kButtonCam).IsLatched());
  rig.Click(kButtonPtz);  // the latched one again: no change
  EXPECT_EQ(rig.pane.mode(), 2);
  EXPECT_TRUE(rig.pane.Button(kButtonPtz).IsLatched());

  rig.Click(kButtonCam);
  EXPECT_EQ(rig.pane.mode(), 1);
  EXPECT_FALSE(rig.view.controls[kPaneCtlPanel].shown);
  EXPECT_EQ(Placed(), before);
  EXPECT_TRUE(rig.pane.Button(kButtonCam).IsLatched());
  EXPECT_FALSE(rig.pane.Button(kButtonPtz).IsLatched());
}

TEST_F(PaneLayoutTest, BitsAbove18AreIgnored) {
  Start(PaneScenario("0x0001", kSixCameras));
  const std::map<int, std::string> tail = Placed();
  rig.ctrl().SetIOperPaneCtls(static_cast<int32_t>(0xFFF80000u | 0x7EC00u));
  rig.pane.SetPaneMode(1);
  EXPECT_EQ(Placed(), tail);
  // Every bit: all 19 controls fill the 22 cells exactly.
  EXPECT_EQ(CameraModePlacements(0xFFFFFFFFu), CameraModePlacements(0x7FFFFu));
  EXPECT_EQ(CameraModePlacements(0x7FFFFu).size(), 19u);
}

TEST_F(PaneLayoutTest, ListNotifications) {
  Start(PaneScenario("0x00F1FF00", kSixCameras, 2));
  rig.pane.SpeedCombo().OnSelChange(3);
  EXPECT_EQ(rig.control.log.Lines(), (std::vector<std::string>{"viewer put 23 20"}));

  rig.Click(kButtonPtz);
  rig.pane.ModuleCombo().OnSelChange(1);
  EXPECT_EQ(rig.ctrl().Properties().iSvrID, 1);
  EXPECT_EQ(rig.pane.mode(), 1);
  EXPECT_EQ(rig.pane.GetServerId(), 1);
}

TEST(PaneWithoutControlTest, AnswersMinusOneAndIgnoresClicks) {
  CallLog log;
  FakePaneView view(log);
  FakePaneDialogs dialogs;
  RecordingMessages messages;
  FakeSnapshotSystem system;
  CPelioranOperPane pane(PanePorts{view, dialogs, messages, system}, nullptr);
  ASSERT_TRUE(pane.OnCreate());
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"uart put 1 1", "uart put 2 -2147483648",
                                                   "uart call 36 (TRUE)",
                                                   "paneview background 217 180 700"}));
  EXPECT_EQ(view.Place(kPaneCtlPanel), "0 24 164 394");
  EXPECT_EQ(pane.GetSelectedCamera(), -1);
  EXPECT_EQ(pane.GetServerId(), -1);
  pane.Button(kButtonAll).OnLButtonDown();
  pane.Button(kButtonAll).OnLButtonUp();
  pane.SetPaneMode(1);
  EXPECT_EQ(view.Place(kButtonAll), "0 0 0 0");
  EXPECT_TRUE(messages.texts.empty());
  pane.OnDestroy();
  EXPECT_FALSE(view.voiceDestroyed);
}

}  // namespace
}  // namespace pel::test
