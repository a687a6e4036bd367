// The pane's camera commands against the control started on kvsim: camera buttons, All, None,
// Sequence, Pause, 1x, 2x in and out of sequence and pause, and what the viewer ends up with
// after the control's layout step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/StringTable.h"
#include "support/PaneRig.h"

namespace pel::test {
namespace {

using Cams = std::vector<int>;

struct CameraCommands : ::testing::Test {
  PaneRig rig;
  const PaneCameraFlags& flags() { return rig.pane.CameraFlags(); }

  // Six cameras; the user may view those of `property0` (module 0).
  void Start(const std::string& property0 = "0x00F1") {
    ASSERT_TRUE(rig.Start(PaneScenario(property0, {"NUM_OF_CAM = 6", "VIDEO_FORMAT = 0"})));
  }
  void Click(int index) { rig.Click(index); }
  void ClickCams(const Cams& cams) {
    for (int c : cams) Click(kButtonCam1 + c - 1);
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> m = rig.messages();
    rig.messages().clear();
    return m;
  }
  std::string Address() { return rig.viewer().Value(13).AsText(); }
};

TEST_F(CameraCommands, CameraButtonsLayTheViewerOut) {
  Start();
  EXPECT_EQ(rig.Latched(), Cams{1});
  ClickCams({3});
  EXPECT_EQ(rig.Shown(), (Cams{1, 3}));
  EXPECT_EQ(rig.Latched(), (Cams{1, 3}));
  EXPECT_EQ(rig.viewer().Value(158), Variant::I4(352));
  EXPECT_EQ(rig.viewer().Value(159), Variant::I4(240));
  EXPECT_EQ(rig.viewer().Value(22), Variant::Bool(false));
  EXPECT_EQ(rig.ctrl().iCamsOn(), 2);

  ClickCams({2, 4, 5});  // a fifth camera widens the viewer
  EXPECT_NE(rig.control.log.IndexOf("window move 207 10 1074 544"), -1);
  rig.control.log.Clear();
  ClickCams({5});
  EXPECT_NE(rig.control.log.IndexOf("window move 207 10 716 544"), -1);

  ClickCams({1, 2, 3});  // Cam4 alone: single view
  EXPECT_EQ(rig.Shown(), Cams{4});
  EXPECT_EQ(rig.viewer().Value(22), Variant::Bool(true));
  EXPECT_EQ(rig.viewer().Value(158), Variant::I4(0));
  EXPECT_EQ(rig.ctrl().iSelCam(), 4);

  ClickCams({4});  // the last camera off disconnects
  EXPECT_EQ(Address(), "");
  EXPECT_EQ(rig.ctrl().iSelCam(), 0);
  ClickCams({6});  // and one on reconnects
  EXPECT_EQ(Address(), "127.0.0.1");
  EXPECT_EQ(rig.ctrl().iSelCam(), 6);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CameraCommands, SequenceBlocksTheOtherCommands) {
  Start();
  ClickCams({2});
  Click(kButtonSequence);
  EXPECT_EQ(flags().sequenceRunning, 1);
  EXPECT_TRUE(rig.ViewerSequence());
  struct Case {
    int button;
    int message;
  };
  const Case cases[] = {
      {kButtonCam1, IDS_SEQ_BLOCKS_CAM1},   // latched: stays latched
      {kButtonCam1 + 2, IDS_SEQ_BLOCKS_CAM3},  // off: its latch is refused
      {kButtonAll, IDS_SEQ_BLOCKS_ALL},     {kButtonNone, IDS_SEQ_BLOCKS_NONE},
      {kButtonPause, IDS_SEQ_BLOCKS_PAUSE}, {kButtonSnap, IDS_SEQ_BLOCKS_SNAP},
      {kButton1x, IDS_SEQ_BLOCKS_1X},       {kButton2x, IDS_SEQ_BLOCKS_2X},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    rig.control.log.Clear();
    Click(c.button);
    EXPECT_EQ(Messages(), std::vector<std::string>{LoadResString(c.message)});
    EXPECT_EQ(rig.Latched(), (Cams{1, 2}));
    EXPECT_FALSE(rig.pane.Button(kButtonPause).IsLatched());
    EXPECT_EQ(rig.control.log.LinesOf("window"), std::vector<std::string>{});
    EXPECT_EQ(flags().sequenceRunning, 1);
  }
  EXPECT_EQ(LoadResString(IDS_SEQ_BLOCKS_CAM1),
            std::string("\\\"Cam1\\\" does not work while \\\"Sequence\\\" is working."));

  Click(kButtonSequence);  // off again
  EXPECT_EQ(flags().sequenceRunning, 0);
  EXPECT_FALSE(rig.ViewerSequence());
  EXPECT_FALSE(rig.pane.Button(kButtonSequence).IsLatched());
  EXPECT_TRUE(Messages().empty());
}

// A button the pane latches itself is accepted too: a refusal from an earlier sequence must
// not make a later click during a sequence turn off a camera that the viewer still shows.
TEST_F(CameraCommands, ALatchThePaneMakesOutlivesAnEarlierRefusal) {
  Start();
  Click(kButtonSequence);
  ClickCams({3});  // refused while the sequence runs
  ASSERT_EQ(rig.Latched(), Cams{1});
  Click(kButtonSequence);
  Click(kButtonAll);
  ASSERT_EQ(rig.Latched(), (Cams{1, 2, 3, 4, 5, 6}));
  Click(kButtonSequence);
  Messages();
  ClickCams({3});
  EXPECT_EQ(Messages(), std::vector<std::string>{LoadResString(IDS_SEQ_BLOCKS_CAM3)});
  EXPECT_EQ(rig.Latched(), (Cams{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(rig.Shown(), (Cams{1, 2, 3, 4, 5, 6}));
}

TEST_F(CameraCommands, PauseAndWhatEndsIt) {
  struct Case {
    const char* name;
    int button;
    std::vector<std::string> messages;
    bool pausedAfter;
    Cams shownAfter;
  };
  const std::string blocked = LoadResString(IDS_PAUSE_BLOCKS_SEQUENCE);
  const Case cases[] = {
      {"play", kButtonPause, {}, false, {1, 2}},
      {"sequence refused", kButtonSequence, {blocked}, true, {}},
      {"a camera", kButtonCam1 + 3, {}, false, {1, 2, 4}},
      {"all", kButtonAll, {}, false, {1, 2, 3, 4, 5, 6}},
      {"none", kButtonNone, {}, false, {}},
      {"1x without 2x", kButton1x, {}, true, {}},
      {"2x", kButton2x, {}, false, {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PaneRig fresh;
    ASSERT_TRUE(fresh.Start(PaneScenario("0x00F1", {"NUM_OF_CAM = 6"})));
    fresh.Click(kButtonCam1 + 1);
    fresh.ctrl().OnViewerCameraSelected(2);
    fresh.Click(kButtonPause);
    ASSERT_EQ(fresh.pane.CameraFlags().paused, 1);
    ASSERT_TRUE(fresh.pane.Button(kButtonPause).IsLatched());
    ASSERT_EQ(fresh.Shown(), Cams{});
    fresh.control.log.Clear();
    fresh.Click(c.button);
    if (c.button == kButtonPause) {  // play shows the cameras again without a layout
      EXPECT_TRUE(fresh.control.log.LinesOf("window").empty());
    }
    EXPECT_EQ(fresh.messages(), c.messages);
    EXPECT_EQ(fresh.pane.CameraFlags().paused, c.pausedAfter ? 1 : 0);
    EXPECT_EQ(fresh.pane.Button(kButtonPause).IsLatched(), c.pausedAfter);
    EXPECT_FALSE(fresh.pane.Button(kButtonSequence).IsLatched());
    EXPECT_EQ(fresh.Shown(), c.shownAfter);
  }
}

TEST_F(CameraCommands, AllTwiceAndNone) {
  Start("0x00010031");  // cameras 1 and 4 (channel 3)
  Click(kButtonAll);
  EXPECT_EQ(rig.Latched(), (Cams{1, 4}));
  EXPECT_EQ(rig.Shown(), (Cams{1, 4}));
  EXPECT_EQ(flags().allPressed, 1);

  ClickCams({4});
  EXPECT_EQ(flags().allPressed, 0);  // any other button clears it
  ClickCams({4});
  Click(kButtonAll);
  rig.control.log.Clear();
  rig.viewer().Preset(18, Variant::Bool(false));  // the viewer lost camera 1
  Click(kButtonAll);  // a repeated All does nothing
  EXPECT_TRUE(rig.control.log.Lines().empty());

  Click(kButtonNone);
  EXPECT_EQ(rig.Latched(), Cams{});
  EXPECT_EQ(rig.Shown(), Cams{});
  EXPECT_EQ(Address(), "");
  EXPECT_EQ(flags().allPressed, 0);
}

TEST_F(CameraCommands, DoubleAndOriginal) {
  Start();
  rig.ctrl().OnViewerPictureWidth(1, 704);
  rig.ctrl().OnViewerPictureWidth(2, 640);
  rig.ctrl().OnViewerPictureWidth(3, 352);
  ClickCams({3, 4});
  rig.ctrl().OnViewerCameraSelected(3);

  Click(kButton2x);
  EXPECT_EQ(rig.Latched(), Cams{3});
  EXPECT_EQ(rig.Shown(), Cams{3});
  EXPECT_EQ(rig.viewer().Value(22), Variant::Bool(true));
  EXPECT_EQ(rig.ctrl().doubleViewMask(), 0x0Du);
  EXPECT_EQ(rig.ctrl().doubleViewCamera(), 3);
  EXPECT_EQ(rig.ctrl().iSelCam(), 3);
  // 704 and 640 fill the view; the others are scaled.
  const std::vector<double> doubled = {rig.Scale(1), rig.Scale(2), rig.Scale(3),
                                       rig.Scale(4), rig.Scale(5), rig.Scale(6)};
  EXPECT_EQ(doubled, (std::vector<double>{1.0, 1.0, 2.0, 2.0, 2.0, 2.0}));

  rig.control.log.Clear();
  Click(kButton2x);  // again without 1x: nothing
  EXPECT_TRUE(rig.control.log.Lines().empty());

  Click(kButton1x);
  EXPECT_EQ(rig.Latched(), (Cams{1, 3, 4}));
  EXPECT_EQ(rig.Shown(), (Cams{1, 3, 4}));
  EXPECT_EQ(rig.ctrl().iSelCam(), 3);  // the enlarged camera stays selected
  EXPECT_EQ(rig.ctrl().doubleViewMask(), 0u);
  EXPECT_EQ(rig.ctrl().doubleViewCamera(), -1);
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(rig.Scale(c), 1.0) << c;
  EXPECT_EQ(flags().doublePressed, 0);

  rig.control.log.Clear();
  Click(kButton1x);  // nothing saved: nothing to restore
  EXPECT_TRUE(rig.control.log.Lines().empty());
  Click(kButton2x);  // 1x cleared the guard
  EXPECT_EQ(rig.Shown(), Cams{3});
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CameraCommands, DoubleWithoutSelectedCamera) {
  Start();
  ClickCams({2});
  rig.ctrl().OnViewerCameraSelected(0);
  Click(kButton2x);
  EXPECT_EQ(rig.Shown(), (Cams{1, 2}));  // nothing hidden, laid out again
  EXPECT_EQ(rig.ctrl().iSelCam(), 1);
  EXPECT_EQ(rig.ctrl().doubleViewMask(), 0u);
  EXPECT_EQ(flags().doublePressed, 1);
  Click(kButton1x);  // nothing was saved; its press still clears the guard
  EXPECT_EQ(rig.Shown(), (Cams{1, 2}));
  EXPECT_EQ(flags().doublePressed, 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CameraCommands, NoViewRightRefusesDisplaySize) {
  Start("0xFF00");  // every module listed, no rights
  Click(kButton2x);
  Click(kButton1x);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"No Permission", "No Permission"}));
  EXPECT_EQ(rig.ctrl().doubleViewCamera(), -1);
}

// With no camera selected the module set-up asks for a latch of the button before Cam1, PTZ;
// in camera mode CAM alone looks latched, and a click on PTZ switches to PTZ mode.
TEST_F(CameraCommands, CamAndPtzShowThePanesMode) {
  Start("0xFF00");  // no view right: the set-up keeps the selected camera as it is
  rig.ctrl().OnViewerCameraSelected(0);
  rig.pane.OnListSelection(kComboKindModules, 0);  // the module chosen again in the list
  ASSERT_EQ(rig.ctrl().iSelCam(), 0);
  ASSERT_EQ(rig.pane.mode(), kPaneModeCamera);
  EXPECT_TRUE(rig.pane.Button(kButtonCam).IsLatched());
  EXPECT_FALSE(rig.pane.Button(kButtonPtz).IsLatched());
  Click(kButtonPtz);
  EXPECT_EQ(rig.pane.mode(), kPaneModePtz);
  EXPECT_TRUE(rig.pane.Button(kButtonPtz).IsLatched());
  EXPECT_FALSE(rig.pane.Button(kButtonCam).IsLatched());
}

TEST_F(CameraCommands, PtzButtonAimsThePanel) {
  ASSERT_TRUE(rig.Start(PaneScenario("0x00F3", {"NUM_OF_CAM = 6", "PTZINSTFLAG=0x1"})));
  Click(kButtonPtz);
  EXPECT_EQ(rig.control.log.LinesOf("uart"),
            (std::vector<std::string>{"uart call 40 (TRUE)", "uart put 12 0", "uart call 41",
                                      "uart call 42"}));
}

}  // namespace
}  // namespace pel::test
