// The pane built by OperPaneWindow in a real window: its children with their IDs and places,
// the layout of camera mode and PTZ mode, clicks and list choices reaching the model, the
// tooltips; and a pane whose serial/PTZ panel is not installed (run with the stand-ins
// unregistered).

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PaneWinRig.h"
#include "pane/PaneLayout.h"
#include "pane/PelioranOperPane.h"

namespace pel::panetest {
namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

HWND FindComboWithId(HWND pane, int id) {
  for (HWND child = GetWindow(pane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == id && lstrcmpiW(ClassOf(child).c_str(), L"ComboBox") == 0) {
      return child;
    }
  }
  return nullptr;
}

std::wstring TipText(HWND tooltip, HWND tool) {
  wchar_t text[128] = {};
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = tool;
  info.uId = 1;
  info.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
  return text;
}

class PaneWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, host_.top);
    ASSERT_TRUE(host_.MakePane(kSixCameras));
    Pump(100);
  }
  // The window of PaneControl `control`.
  HWND Control(int control) {
    if (control == kPaneCtlModuleList) return host_.Child(kModuleListId);
    if (control == kPaneCtlSpeedList) return FindComboWithId(host_.pane->Window(), 0);
    return host_.Child(pane::Buttons()[static_cast<size_t>(control)].childId);
  }
  CPelioranOperPane& Pane() { return host_.pane->Pane(); }

  PaneHost host_;
};

TEST_F(PaneWindowTest, PaneButtonsListsAndPanelAreMadeWithTheirIdsAndPlaces) {
  const HWND pane = host_.pane->Window();
  EXPECT_EQ(pane, GetDlgItem(host_.top, kPaneId));
  EXPECT_EQ(&host_.pane->Link(), static_cast<IOperPaneLink*>(&Pane()));
  EXPECT_TRUE(IsWindowVisible(pane));
  RECT r;
  GetWindowRect(pane, &r);
  MapWindowPoints(nullptr, host_.top, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(Edges(10, 10, 184, 488), Edges(r));  // sized to 174 x 478 once built

  for (const PaneButtonDef& def : pane::Buttons()) {
    const HWND button = host_.Child(def.childId);
    ASSERT_NE(nullptr, button) << def.childId;
    EXPECT_EQ(L"Button", ClassOf(button));
    EXPECT_EQ(static_cast<LONG>(BS_OWNERDRAW), GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK);
    // Before the first mode switch every button is where it was made.
    const ChildRect& made = def.rect;
    EXPECT_EQ(Edges(made.left, made.top, made.right, made.bottom),
              Edges(host_.ChildRect(button))) << def.childId;
    EXPECT_TRUE(IsWindowVisible(button));
  }
  for (int control : {kPaneCtlModuleList, kPaneCtlSpeedList}) {
    const HWND list = Control(control);
    ASSERT_NE(nullptr, list) << control;
    EXPECT_EQ(static_cast<LONG>(CBS_DROPDOWNLIST), GetWindowLongW(list, GWL_STYLE) & 3);
    IComboList& model = control == kPaneCtlModuleList ? host_.pane->Link().ModuleList()
                                                      : host_.pane->Link().SpeedList();
    for (int i = 0; i < 20; ++i) model.AddString("entry " + std::to_string(i));
    // A long list scrolls when it drops down.
    SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(list, &info));
    EXPECT_NE(0, GetWindowLongW(info.hwndList, GWL_STYLE) & WS_VSCROLL);
    SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_TRUE(IsWindowEnabled(list));
  }
  EXPECT_EQ(10, host_.ChildRect(Control(kPaneCtlModuleList)).left);
  EXPECT_EQ(216, host_.ChildRect(Control(kPaneCtlSpeedList)).top);
  ASSERT_NE(nullptr, host_.Child(kPanelId));
  EXPECT_EQ(Edges(0, 24, 164, 418), Edges(host_.ChildRect(host_.Child(kPanelId))));
}

TEST_F(PaneWindowTest, CameraModePlacesTheMaskedControlsAndPtzModeShowsThePanel) {
  host_.pane->Link().SetPaneMode(1);
  for (const PanePlacement& p : CameraModePlacements(kSixCameras)) {
    const RECT at = host_.ChildRect(Control(p.control));
    // A closed list is as high as its edit field, whatever its drop-down height.
    const LONG bottom = p.control < kPaneButtonCount ? p.y + p.height : at.bottom;
    EXPECT_EQ(Edges(p.x, p.y, p.x + p.width, bottom), Edges(at)) << p.control;
    EXPECT_TRUE(IsWindowVisible(Control(p.control))) << p.control;
  }
  // The cameras fill the first three rows; Sequence spans the sixth.
  EXPECT_EQ(82, host_.ChildRect(Control(kButtonCam1 + 5)).left);
  EXPECT_EQ(88, host_.ChildRect(Control(kButtonCam1 + 5)).top);
  EXPECT_EQ(160, host_.ChildRect(Control(kButtonSequence)).top);
  EXPECT_EQ(144, host_.ChildRect(Control(kButtonSequence)).right -
                     host_.ChildRect(Control(kButtonSequence)).left);
  // Not in the mask: the module label and list, shrunk to nothing at the origin.
  const RECT label = host_.ChildRect(Control(kButtonModuleLabel));
  EXPECT_EQ(0, label.right - label.left);
  EXPECT_EQ(0, label.left);
  EXPECT_FALSE(IsWindowVisible(host_.Child(kPanelId)));

  host_.pane->Link().SetPaneMode(2);
  for (int control : CameraModeControls()) EXPECT_FALSE(IsWindowVisible(Control(control)));
  EXPECT_TRUE(IsWindowVisible(Control(kButtonCam)));
  EXPECT_TRUE(IsWindowVisible(Control(kButtonPtz)));
  EXPECT_TRUE(IsWindowVisible(host_.Child(kPanelId)));

  host_.pane->Link().SetPaneMode(1);
  EXPECT_FALSE(IsWindowVisible(host_.Child(kPanelId)));
  EXPECT_TRUE(IsWindowVisible(Control(kButtonRelay)));
  EXPECT_EQ(232, host_.ChildRect(Control(kButtonRelay)).top);
}

TEST_F(PaneWindowTest, ClicksReachTheModel) {
  host_.pane->Link().SetPaneMode(1);
  // A toggle latches and the press reaches the viewer.
  host_.Click(Control(kButtonCam1));
  EXPECT_TRUE(Pane().Button(kButtonCam1).IsLatched());
  EXPECT_EQ(kSkinPressed, Pane().Button(kButtonCam1).GetState());
  EXPECT_NE(-1, host_.rig.log.IndexOf("viewer put 18 TRUE"));
  // PTZ switches the pane to the panel; CAM switches back.
  host_.Click(Control(kButtonPtz));
  EXPECT_EQ(2, Pane().mode());
  EXPECT_TRUE(Pane().Button(kButtonPtz).IsLatched());
  EXPECT_TRUE(IsWindowVisible(host_.Child(kPanelId)));
  EXPECT_FALSE(IsWindowVisible(Control(kButtonCam1)));
  host_.Click(Control(kButtonCam));
  EXPECT_EQ(1, Pane().mode());
  EXPECT_FALSE(Pane().Button(kButtonPtz).IsLatched());
  EXPECT_TRUE(IsWindowVisible(Control(kButtonCam1)));
  // A second click on the latched camera turns it off.
  host_.Click(Control(kButtonCam1));
  EXPECT_FALSE(Pane().Button(kButtonCam1).IsLatched());
  EXPECT_NE(-1, host_.rig.log.IndexOf("viewer put 18 FALSE"));
}

TEST_F(PaneWindowTest, SpeedListMirrorsTheModelAndReportsTheChoice) {
  IComboList& speeds = host_.pane->Link().SpeedList();
  speeds.AddString("Full");
  speeds.SetItemData(0, 0);
  speeds.AddString("10 fps");
  speeds.SetItemData(1, 10);
  speeds.SetCurSel(0);
  const HWND list = Control(kPaneCtlSpeedList);
  ASSERT_EQ(2, SendMessageW(list, CB_GETCOUNT, 0, 0));
  wchar_t text[32] = {};
  SendMessageW(list, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(L"10 fps", text);
  EXPECT_EQ(0, SendMessageW(list, CB_GETCURSEL, 0, 0));

  // The user's choice: the list tells the pane, which tells the viewer.
  SendMessageW(list, CB_SETCURSEL, 1, 0);
  SendMessageW(host_.pane->Window(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(1, speeds.GetCurSel());
  EXPECT_NE(-1, host_.rig.log.IndexOf("viewer put 23 10"));

  speeds.ResetContent();
  EXPECT_EQ(0, SendMessageW(list, CB_GETCOUNT, 0, 0));
}

// The windows keep the entries' item data as the model has them (module numbers, frame
// intervals), so that a tool reading the combo box finds them there.
TEST_F(PaneWindowTest, ListsAnswerItemDataAsTheModelHasIt) {
  struct Case {
    int control;
    std::vector<int32_t> data;
  };
  const Case cases[] = {{kPaneCtlModuleList, {3, 0, 7}},
                        {kPaneCtlSpeedList, {0, 6, 10, 20, 45, 100}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    IComboList& model = c.control == kPaneCtlModuleList ? host_.pane->Link().ModuleList()
                                                        : host_.pane->Link().SpeedList();
    const HWND list = Control(c.control);
    for (int round = 0; round < 2; ++round) {  // the second time after the list was emptied
      model.ResetContent();
      for (size_t i = 0; i < c.data.size(); ++i) {
        model.AddString("entry " + std::to_string(i));
        model.SetItemData(static_cast<int>(i), c.data[i] + round);
      }
      ASSERT_EQ(static_cast<LRESULT>(c.data.size()), SendMessageW(list, CB_GETCOUNT, 0, 0));
      for (size_t i = 0; i < c.data.size(); ++i) {
        EXPECT_EQ(c.data[i] + round, SendMessageW(list, CB_GETITEMDATA, i, 0)) << i;
      }
    }
  }
}

TEST_F(PaneWindowTest, ButtonsAndTheSpeedListHaveTheirTooltips) {
  const HWND cam1 = Control(kButtonCam1);
  // A tooltip is made by the first mouse move over its control.
  EXPECT_TRUE(TooltipsOf(cam1).empty());
  for (int control : {int{kButtonCam1}, int{kButtonRelay}, int{kPaneCtlSpeedList},
                      int{kPaneCtlModuleList}}) {
    SendMessageW(Control(control), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  }
  const std::vector<HWND> tips = TooltipsOf(cam1);
  ASSERT_EQ(1u, tips.size());
  EXPECT_EQ(L"Cam1 On/Off", TipText(tips[0], cam1));
  const HWND relay = Control(kButtonRelay);
  ASSERT_EQ(1u, TooltipsOf(relay).size());
  EXPECT_EQ(L"Relay ouput control", TipText(TooltipsOf(relay)[0], relay));

  const HWND speed = Control(kPaneCtlSpeedList);
  const std::vector<HWND> speedTips = TooltipsOf(speed);
  ASSERT_EQ(1u, speedTips.size());
  EXPECT_EQ(L"Speed Control is valid for M-JPEG only.", TipText(speedTips[0], speed));
  EXPECT_EQ(1, SendMessageW(speedTips[0], TTM_GETDELAYTIME, TTDT_INITIAL, 0));
  EXPECT_TRUE(TooltipsOf(Control(kPaneCtlModuleList)).empty());
}

// Run with the stand-ins unregistered: the pane starts all the same.
TEST(NoPanelInstalled, PaneStartsAndSwitchesModesWithoutThePanel) {
  PaneHost host;
  ASSERT_TRUE(host.MakePane(kSixCameras));
  EXPECT_EQ(nullptr, host.Child(kPanelId));
  for (const PaneButtonDef& def : pane::Buttons()) EXPECT_NE(nullptr, host.Child(def.childId));
  host.pane->Link().SetPaneMode(2);
  EXPECT_EQ(2, host.pane->Pane().mode());
  EXPECT_FALSE(IsWindowVisible(host.Child(3002)));
  host.Click(host.Child(3000));
  EXPECT_EQ(1, host.pane->Pane().mode());
  EXPECT_TRUE(IsWindowVisible(host.Child(3002)));
  EXPECT_TRUE(host.rig.messages.texts.empty());
}

}  // namespace
}  // namespace pel::panetest
