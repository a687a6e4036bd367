// What the pane makes goes with it: the windows and tooltips, the shared skins and background
// (with the last pane) and the hosted components; and the GDI and USER object counts of the process
// where the system keeps them.

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "PaneWinRig.h"
#include "hosted/NullDispatch.h"
#include "hosted/NvwVoiceCtrl.h"
#include "hosted/SFI_UART.h"
#include "pane/PaneControls.h"
#include "pane/PelioranOperPane.h"
#include "pane/win/WinPaneView.h"
#include "pane/win/WinSkinImage.h"

namespace pel::panetest {
namespace {

std::pair<DWORD, DWORD> GuiObjects() {
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

TEST(PaneResources, RepeatedPanesReleaseWhatTheyMade) {
  PaneHost host;
  ASSERT_TRUE(host.MakePane(kSixCameras));  // classes and common controls, once per process
  host.DestroyPane();
  Pump(50);
  const std::pair<DWORD, DWORD> before = GuiObjects();
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(host.MakePane(round % 2 ? kOneCamera : kSixCameras));
    host.pane->Link().SetPaneMode(1);
    host.pane->Link().SetPaneMode(2);
    std::vector<HBITMAP> bitmaps;  // the skin each image is drawn from
    std::vector<HWND> windows;
    CPelioranOperPane& pane = host.pane->Pane();
    for (int i = 0; i < pane::kButtonCount; ++i) {
      for (int slot = 0; slot < kSkinSlotCount; ++slot) {
        const auto* image = static_cast<const win::WinSkinImage*>(pane.Button(i).Image(slot));
        if (image != nullptr) bitmaps.push_back(image->Handle());
      }
    }
    // The tooltip of a button the mouse went over.
    SendMessageW(GetDlgItem(host.pane->Window(), 3002), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    for (HWND child = GetWindow(host.pane->Window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      windows.push_back(child);
      for (HWND tip : TooltipsOf(child)) windows.push_back(tip);
    }
    ASSERT_EQ(76u, bitmaps.size());
    // Every image is a cell of one of the four skins the process shares.
    ASSERT_EQ(4u, std::set<HBITMAP>(bitmaps.begin(), bitmaps.end()).size());
    // 19 buttons, 2 lists, the panel, one tooltip.
    ASSERT_EQ(23u, windows.size());
    for (HBITMAP bitmap : bitmaps) ASSERT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(bitmap));
    windows.push_back(host.pane->Window());

    host.DestroyPane();
    for (HBITMAP bitmap : bitmaps) EXPECT_EQ(0u, GetObjectType(bitmap));
    for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
    Pump(20);
  }
  const std::pair<DWORD, DWORD> after = GuiObjects();
  // Wine answers 0 for both counts: there the handle checks above are what tells.
  if (before.first != 0 || before.second != 0) {
    EXPECT_LE(after.first, before.first);
    EXPECT_LE(after.second, before.second);
  }
  RecordProperty("gdi_objects", std::to_string(before.first) + "->" + std::to_string(after.first));
  RecordProperty("user_objects",
                 std::to_string(before.second) + "->" + std::to_string(after.second));
}

bool PaneClassRegistered() {
  WNDCLASSEXW info = {};
  info.cbSize = sizeof info;
  return GetClassInfoExW(GetModuleHandleW(nullptr), L"PelioranOperPane", &info) != FALSE;
}

TEST(PaneResources, WindowClassLivesAsLongAsAPaneAndNoParentMeansNoPane) {
  PaneHost first;
  PaneHost second;
  ASSERT_TRUE(first.MakePane(kOneCamera));
  ASSERT_TRUE(second.MakePane(kOneCamera));
  EXPECT_TRUE(PaneClassRegistered());
  first.DestroyPane();
  EXPECT_TRUE(PaneClassRegistered());
  // A module that is unloaded leaves no class behind that points into it.
  second.DestroyPane();
  EXPECT_FALSE(PaneClassRegistered());

  test::RecordingMessages messages;
  EXPECT_EQ(nullptr, win::OperPaneWindow::Create(nullptr, ChildRect{10, 10, 180, 700}, kPaneId,
                                                 nullptr, messages));
  EXPECT_FALSE(PaneClassRegistered());
}

// The view on its own over a plain window: the background section, the panel and the voice
// component with their events, and what ReleaseComponents lets go.
TEST(PaneView, BackgroundPanelAndVoiceComponentGoWithTheWindow) {
  PaneHost host;
  std::vector<std::pair<int, int>> sizes;
  std::vector<std::pair<int32_t, int32_t>> statuses;
  win::WinPaneView view([&host] { return host.top; },
                        win::PaneViewEvents{[&](int cx, int cy) { sizes.emplace_back(cx, cy); },
                                            [&](int32_t code, int32_t detail) {
                                              statuses.emplace_back(code, detail);
                                            }});
  const auto pumpUntil = [](const auto& done) {
    for (int i = 0; i < 100 && done.empty(); ++i) Pump(20);
  };
  ASSERT_TRUE(view.LoadBackground(pane::kBackgroundBitmap, 180, 700));
  const HBITMAP background = view.Background();
  DIBSECTION section = {};
  ASSERT_EQ(static_cast<int>(sizeof section), GetObjectW(background, sizeof section, &section));
  EXPECT_EQ(180, section.dsBm.bmWidth);
  EXPECT_EQ(700, section.dsBm.bmHeight);

  IDispatchPort* panelPort = view.CreatePanel(pane::kPanelId);
  ASSERT_NE(nullptr, panelPort);
  ASSERT_NE(&NullDispatch::Instance(), panelPort);
  const HWND panel = GetDlgItem(host.top, pane::kPanelId);
  ASSERT_NE(nullptr, panel);
  CSFI_UART(panelPort).EnablePanel(true);
  pumpUntil(sizes);
  EXPECT_EQ((std::vector<std::pair<int, int>>{{164, 394}}), sizes);
  view.MoveControl(kPaneCtlPanel, 0, 24, 120, 200);
  RECT at;
  GetClientRect(panel, &at);
  EXPECT_EQ(Edges(0, 0, 120, 200), Edges(at));

  IDispatchPort* voicePort = view.CreateVoiceControl(pane::kVoiceControlId);
  ASSERT_NE(nullptr, voicePort);
  const HWND voice = GetDlgItem(host.top, pane::kVoiceControlId);
  EXPECT_NE(nullptr, voice);
  CNvwVoiceCtrl(voicePort).Connect();
  pumpUntil(statuses);
  EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{1, 0}}), statuses);
  view.DestroyVoiceControl();
  EXPECT_FALSE(IsWindow(voice));

  view.ReleaseComponents();
  EXPECT_EQ(nullptr, view.Background());
  EXPECT_EQ(0u, GetObjectType(background));
  EXPECT_FALSE(IsWindow(panel));
}

TEST(NoPanelInstalled, ViewGivesAnInertPanelAndNoVoiceComponent) {
  PaneHost host;
  win::WinPaneView view([&host] { return host.top; }, win::PaneViewEvents{});
  EXPECT_EQ(&NullDispatch::Instance(), view.CreatePanel(pane::kPanelId));
  EXPECT_EQ(nullptr, view.CreateVoiceControl(pane::kVoiceControlId));
  EXPECT_EQ(nullptr, GetWindow(host.top, GW_CHILD));
  view.MoveControl(kPaneCtlPanel, 0, 24, 164, 394);
  view.ShowControl(kPaneCtlPanel, true);
}

}  // namespace
}  // namespace pel::panetest
