// What the pane looks like: its shots in camera mode (one and six permitted cameras) and in
// PTZ mode, saved for panewin.sh to compare with the references, and the hover, pressed,
// latched and disabled looks of the camera buttons.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "PaneWinRig.h"
#include "control/OperPaneLink.h"
#include "pane/PelioranOperPane.h"

namespace pel::panetest {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Keeps the real mouse pointer off the pane.
void ParkCursor() { SetCursorPos(1270, 1010); }


int DarkPixels(const Shot& shot, const RECT& area) {
  int dark = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) dark += shot.At(x, y) == kBlack ? 1 : 0;
  }
  return dark;
}

struct ShotCase {
  const char* name;
  uint32_t mask;
  int mode;
};

class PaneShots : public testing::TestWithParam<ShotCase> {};

TEST_P(PaneShots, MatchTheirLayout) {
  const ShotCase& c = GetParam();
  ParkCursor();
  PaneHost host;
  ASSERT_TRUE(host.MakePane(c.mask));
  host.pane->Link().SetPaneMode(c.mode);
  Pump(300);  // the panel's posted events and paints
  const Shot shot = Capture(host.pane->Window());
  ASSERT_EQ(174, shot.width);
  ASSERT_EQ(478, shot.height);
  // The white background right of PTZ, the CAM button's outer frame.
  EXPECT_EQ(kWhite, shot.At(170, 5));
  EXPECT_EQ(kBlack, shot.At(10, 5));
  if (c.mode == 1) {
    // The frame behind the panel, and the version text inside it.
    EXPECT_EQ(kBlack, shot.At(0, 300));
    EXPECT_EQ(kBlack, shot.At(163, 300));
    EXPECT_EQ(kBlack, shot.At(80, 417));
    EXPECT_GT(DarkPixels(shot, RECT{26, 402, 163, 417}), 40);
  } else {
    // The panel covers frame and text.
    EXPECT_NE(kWhite, shot.At(80, 300));
  }
  // Where panewin.sh wants the shots (a Windows folder).
  if (const char* folder = std::getenv("PEL_PANEWIN_SHOTS")) {
    EXPECT_TRUE(shot.Save(std::string(folder) + "\\" + c.name + ".bmp"));
  }
}

INSTANTIATE_TEST_SUITE_P(Pane, PaneShots,
                         testing::Values(ShotCase{"camera_one", kOneCamera, 1},
                                         ShotCase{"camera_six", kSixCameras, 1},
                                         ShotCase{"ptz", kSixCameras, 2}),
                         [](const testing::TestParamInfo<ShotCase>& info) {
                           return std::string(info.param.name);
                         });

// The first and last rows of a button's face, inside its two frames.
struct Face {
  COLORREF top;
  COLORREF bottom;
};
constexpr Face kNormal = {RGB(57, 93, 198), RGB(57, 93, 198)};
constexpr Face kHover = {RGB(169, 184, 230), RGB(16, 26, 55)};
constexpr Face kPressed = {RGB(16, 26, 55), RGB(169, 184, 230)};
constexpr Face kDisabled = {RGB(176, 173, 173), RGB(176, 173, 173)};

class ButtonLooks : public testing::Test {
 protected:
  void SetUp() override {
    ParkCursor();
    ASSERT_TRUE(host_.MakePane(kSixCameras));
    host_.pane->Link().SetPaneMode(1);
    Pump(100);
  }
  HWND Cam(int n) { return host_.Child(3001 + n); }
  void ExpectFace(int camera, const Face& face) {
    const RECT at = host_.ChildRect(Cam(camera));
    const Shot shot = Capture(host_.pane->Window());
    EXPECT_EQ(face.top, shot.At(at.left + 3, at.top + 2)) << "Cam" << camera;
    EXPECT_EQ(face.bottom, shot.At(at.left + 3, at.top + 21)) << "Cam" << camera;
  }

  PaneHost host_;
};

TEST_F(ButtonLooks, OneButtonHoveredPressedLatchedAndDisabled) {
  const LPARAM middle = MAKELPARAM(36, 12);
  ExpectFace(1, kNormal);
  // The pointer really over Cam1, so that the leave tracking does not end the hover.
  POINT centre = {36, 12};
  ClientToScreen(Cam(1), &centre);
  SetCursorPos(centre.x, centre.y);
  SendMessageW(Cam(1), WM_MOUSEMOVE, 0, middle);
  ExpectFace(1, kHover);
  SendMessageW(Cam(1), WM_LBUTTONDOWN, MK_LBUTTON, middle);
  ExpectFace(1, kPressed);
  EXPECT_NE(-1, host_.rig.log.IndexOf("viewer put 18 TRUE"));  // the press reached the pane
  SendMessageW(Cam(1), WM_LBUTTONUP, 0, middle);
  ExpectFace(1, kPressed);
  EXPECT_TRUE(host_.pane->Pane().Button(kButtonCam1).IsLatched());
  // Latched, it keeps its look when the pointer leaves.
  ParkCursor();
  Pump(100);
  SendMessageW(Cam(1), WM_MOUSELEAVE, 0, 0);
  ExpectFace(1, kPressed);

  host_.pane->Link().SetButtonState(kButtonCam1, kButtonDisabled);
  ExpectFace(1, kDisabled);
  SendMessageW(Cam(1), WM_MOUSEMOVE, 0, middle);
  host_.Click(Cam(1));
  ExpectFace(1, kDisabled);
  EXPECT_EQ(-1, host_.rig.log.IndexOf("viewer put 18 FALSE"));  // the click went nowhere
  // The other buttons kept their own look throughout.
  ExpectFace(2, kNormal);
}

TEST_F(ButtonLooks, HoverEndsWhenThePointerLeaves) {
  POINT centre = {36, 12};
  ClientToScreen(Cam(2), &centre);
  SetCursorPos(centre.x, centre.y);
  SendMessageW(Cam(2), WM_MOUSEMOVE, 0, MAKELPARAM(36, 12));
  ExpectFace(2, kHover);
  ParkCursor();
  Pump(100);
  SendMessageW(Cam(2), WM_MOUSELEAVE, 0, 0);
  ExpectFace(2, kNormal);
}

}  // namespace
}  // namespace pel::panetest
