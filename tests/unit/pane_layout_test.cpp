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

// The camera-mode controls with a size, as "Name@cell" in grid order (cell k: left 10 or 82 for
// even or odd k, top 40 + 24 * (k / 2)); each control's size is checked on the way. All of
// them are shown in camera mode and hidden in PTZ mode.
std::string Layout(PaneRig& rig) {
  static const std::map<int, std::string> names = {
      {kButtonModuleLabel, "Label"}, {kPaneCtlModuleList, "Modules"}, {kButtonCam1, "Cam1"},
      {kButtonCam1 + 1, "Cam2"}, {kButtonCam1 + 2, "Cam3"}, {kButtonCam1 + 3, "Cam4"},
      {kButtonCam1 + 4, "Cam5"}, {kButtonCam1 + 5, "Cam6"}, {kButtonAll, "All"},
      {kButtonNone, "None"}, {kButtonSpeedLabel, "Speed"}, {kPaneCtlSpeedList, "Speeds"},
      {kButtonSequence, "Seq"}, {kButtonPause, "Pause"}, {kButtonSnap, "Snap"},
      {kButton1x, "1x"}, {kButton2x, "2x"}, {kButtonVoice, "Voice"}, {kButtonRelay, "DO"}};
  std::map<int, std::string> byCell;
  for (int control : CameraModeControls()) {
    const FakePaneView::Control& c = rig.view.controls[static_cast<size_t>(control)];
    EXPECT_EQ(c.shown, rig.pane.mode() == 1);
    if (c.width == 0) continue;
    const std::string& name = names.at(control);
    const bool wide = name == "Label" || name == "Modules" || name == "Seq";
    EXPECT_EQ(c.width, wide ? 144 : 72) << name;
    EXPECT_EQ(c.height, name == "Modules" || name == "Speeds" ? 120 : 24) << name;
    EXPECT_TRUE(c.x == 10 || (c.x == 82 && !wide)) << name;
    byCell[(c.y - 40) / 24 * 2 + (c.x == 82 ? 1 : 0)] = name;
  }
  std::string layout;
  for (const auto& [cell, name] : byCell) layout += (layout.empty() ? "" : " ") + name + "@" + std::to_string(cell);
  return layout;
}

struct PaneLayoutTest : ::testing::Test {
  PaneRig rig;
  void Start(const std::string& scenario) { ASSERT_TRUE(rig.Start(scenario)); }
};

TEST_F(PaneLayoutTest, CreationBuildsButtonsPanelListsAndBackground) {
  Start(PaneScenario("0x00F1", kSixCameras));
  FakePaneView& view = rig.view;
  const std::map<int, int> ids = {{kButtonCam, 3000}, {kButtonRelay, 3016},
                                  {kButtonModuleLabel, 3017}, {kButtonSpeedLabel, 3019},
                                  {kPaneCtlModuleList, 3018}, {kPaneCtlSpeedList, 0},
                                  {kPaneCtlPanel, 209}};
  for (const auto& [control, id] : ids) EXPECT_EQ(view.childIds[control], id) << control;
  ASSERT_EQ(view.skins.cuts.size(), 19u * 4u);
  // Sequence (button 10) cut from the pressed skin: two cells wide.
  EXPECT_EQ(view.skins.cuts[10 * 4 + 1], (std::pair<int, PixelRect>{209, {288, 48, 432, 72}}));
  EXPECT_EQ(rig.pane.Button(kButton2x).rect().left, 83);
  for (int i = 0; i < 19; ++i) {
    const CSkinButton& b = rig.pane.Button(i);
    EXPECT_EQ(b.IsToggle(), i <= kButtonPause && i != kButtonAll && i != kButtonNone) << i;
    EXPECT_EQ(b.tooltip().active(), i < kButtonModuleLabel) << i;
  }
  EXPECT_EQ(rig.pane.Button(kButtonRelay).tooltip().text(), "Relay ouput control");
  EXPECT_EQ(rig.pane.Button(kButtonModuleLabel).tooltip().text(), "Voice");
  EXPECT_EQ(rig.pane.Grid()[21].top, 280);
  EXPECT_EQ(rig.pane.ModuleCombo().kind(), kComboKindModules);
  EXPECT_EQ(rig.pane.SpeedCombo().kind(), kComboKindSpeed);
  EXPECT_TRUE(rig.pane.SpeedCombo().tooltip().active());
  EXPECT_EQ(view.paneSize, (std::pair<int, int>{174, 478}));

  const PanePainting paint = rig.pane.Painting();
  EXPECT_EQ(paint.backgroundBitmap, 217);
  EXPECT_EQ(paint.frame.bottom, 418);
  EXPECT_STREQ(paint.versionText, "Version : 3.0.0.11");
  EXPECT_EQ(paint.textX * 1000 + paint.textY, 26402);
  rig.pane.OnPanelSizeChanged(150, 300);
  EXPECT_EQ(view.Place(kPaneCtlPanel), "0 24 150 300");
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

TEST(PaneLayout, PlacementsByCamerasAndModules) {
  struct Case {
    std::string property0;
    std::vector<std::string> server;
    int modules;
    std::string layout;
  };
  const std::string tail = "Pause@10 Snap@11 1x@12 2x@13 Voice@14 DO@15";
  const Case cases[] = {
      {"0x0001", {}, 1, "Speed@0 Speeds@1 Pause@2 Snap@3 1x@4 2x@5 Voice@6 DO@7"},
      {"0x00110001", {"PROPERTY1=0x0021"}, 1,  // All starts a new row
       "Cam1@0 Cam2@1 Cam3@2 All@4 None@5 Speed@6 Speeds@7 Seq@8 " + tail},
      {"0x00F1", {}, 1, "Cam1@0 Cam2@1 Cam3@2 Cam4@3 Cam5@4 Cam6@5 All@6 None@7 Speed@8 "
                        "Speeds@9 Seq@10 Pause@12 Snap@13 1x@14 2x@15 Voice@16 DO@17"},
      {"0x0001FF00", {}, 2, "Label@0 Modules@2 Speed@4 Speeds@5 Pause@6 Snap@7 1x@8 2x@9 "
                            "Voice@10 DO@11"},
      {"0x0001FF00", {"PROPERTY1=0x00210011"}, 2,
       "Label@0 Modules@2 Cam1@4 Cam2@5 Cam3@6 All@8 None@9 Speed@10 Speeds@11 Seq@12 "
       "Pause@14 Snap@15 1x@16 2x@17 Voice@18 DO@19"},
      {"0x00F1FF00", {}, 2, "Label@0 Modules@2 Cam1@4 Cam2@5 Cam3@6 Cam4@7 Cam5@8 Cam6@9 "
                            "All@10 None@11 Speed@12 Speeds@13 Seq@14 Pause@16 Snap@17 1x@18 "
                            "2x@19 Voice@20 DO@21"},
  };
  for (const Case& c : cases) {
    PaneRig rig;
    ASSERT_TRUE(rig.Start(PaneScenario(c.property0, kSixCameras, c.modules, c.server)));
    EXPECT_EQ(Layout(rig), c.layout);
  }
}

TEST_F(PaneLayoutTest, PtzModeHidesAndCameraModeRestores) {
  Start(PaneScenario("0x00F1FF00", kSixCameras, 2));
  const std::string before = Layout(rig);
  rig.Click(kButtonPtz);
  EXPECT_EQ(rig.pane.mode(), 2);
  EXPECT_EQ(Layout(rig), "");
  EXPECT_TRUE(rig.view.controls[kPaneCtlPanel].shown);
  rig.Click(kButtonPtz);  // the latched one again: no change
  EXPECT_EQ(rig.pane.mode(), 2);
  EXPECT_TRUE(rig.pane.Button(kButtonPtz).IsLatched());
  EXPECT_FALSE(rig.pane.Button(kButtonCam).IsLatched());

  rig.Click(kButtonCam);
  EXPECT_EQ(rig.pane.mode(), 1);
  EXPECT_FALSE(rig.view.controls[kPaneCtlPanel].shown);
  EXPECT_EQ(Layout(rig), before);
  EXPECT_TRUE(rig.pane.Button(kButtonCam).IsLatched());
  EXPECT_FALSE(rig.pane.Button(kButtonPtz).IsLatched());
}

TEST_F(PaneLayoutTest, BitsAbove18AreIgnored) {
  Start(PaneScenario("0x0001", kSixCameras));
  const std::string tail = Layout(rig);
  rig.ctrl().SetIOperPaneCtls(static_cast<int32_t>(0xFFF80000u | 0x7EC00u));
  rig.pane.SetPaneMode(1);
  EXPECT_EQ(Layout(rig), tail);
  EXPECT_EQ(CameraModePlacements(0xFFFFFFFFu), CameraModePlacements(0x7FFFFu));
}

TEST_F(PaneLayoutTest, ListNotifications) {
  Start(PaneScenario("0x00F1FF00", kSixCameras, 2));
  rig.pane.SpeedCombo().OnSelChange(3);
  EXPECT_EQ(rig.control.log.Lines(), (std::vector<std::string>{"viewer put 23 20"}));
  rig.Click(kButtonPtz);
  rig.pane.ModuleCombo().OnSelChange(1);
  EXPECT_EQ(rig.pane.GetServerId(), 1);
  EXPECT_EQ(rig.pane.mode(), 1);
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
  EXPECT_TRUE(messages.texts.empty());
}

}  // namespace
}  // namespace pel::test
