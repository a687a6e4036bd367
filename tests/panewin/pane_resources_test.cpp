// What the pane makes goes with it: the button images, the windows and tooltips, the
// background and the hosted components; and the GDI and USER object counts of the process
// where the system keeps them.

#include <windows.h>

#include <gtest/gtest.h>

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
    std::vector<HBITMAP> bitmaps;
    std::vector<HWND> windows;
    CPelioranOperPane& pane = host.pane->Pane();
    for (int i = 0; i < pane::kButtonCount; ++i) {
      for (int slot = 0; slot < kSkinSlotCount; ++slot) {
        const auto* image = static_cast<const win::WinSkinImage*>(pane.Button(i).Image(slot));
        if (image != nullptr) bitmaps.push_back(image->Handle());
      }
    }
    for (HWND child = GetWindow(host.pane->Window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      windows.push_back(child);
      for (HWND tip : TooltipsOf(child)) windows.push_back(tip);
    }
    ASSERT_EQ(76u, bitmaps.size());
    // 19 buttons, 2 lists, the panel, 19 + 1 tooltips.
    ASSERT_EQ(42u, windows.size());
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
class PaneViewTest : public testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                              0, 300, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, parent_);
    ShowWindow(parent_, SW_SHOW);
    view_ = std::make_unique<win::WinPaneView>(
        [this] { return parent_; },
        win::PaneViewEvents{[this](int cx, int cy) { sizes_.emplace_back(cx, cy); },
                            [this](int32_t code, int32_t detail) {
                              statuses_.emplace_back(code, detail);
                            }});
  }
  void TearDown() override {
    view_.reset();
    if (parent_ != nullptr) DestroyWindow(parent_);
  }
  template <typename Done>
  void PumpUntil(Done done) {
    for (int i = 0; i < 100 && !done(); ++i) Pump(20);
  }

  HWND parent_ = nullptr;
  std::unique_ptr<win::WinPaneView> view_;
  std::vector<std::pair<int, int>> sizes_;
  std::vector<std::pair<int32_t, int32_t>> statuses_;
};

TEST_F(PaneViewTest, BackgroundPanelAndVoiceComponentGoWithTheWindow) {
  ASSERT_TRUE(view_->LoadBackground(pane::kBackgroundBitmap, 180, 700));
  const HBITMAP background = view_->Background();
  DIBSECTION section = {};
  ASSERT_EQ(static_cast<int>(sizeof section), GetObjectW(background, sizeof section, &section));
  EXPECT_EQ(180, section.dsBm.bmWidth);
  EXPECT_EQ(700, section.dsBm.bmHeight);
  EXPECT_NE(nullptr, section.dsBm.bmBits);

  IDispatchPort* panelPort = view_->CreatePanel(pane::kPanelId);
  ASSERT_NE(nullptr, panelPort);
  ASSERT_NE(&NullDispatch::Instance(), panelPort);
  const HWND panel = GetDlgItem(parent_, pane::kPanelId);
  ASSERT_NE(nullptr, panel);
  CSFI_UART uart(panelPort);
  uart.EnablePanel(true);
  PumpUntil([this] { return !sizes_.empty(); });
  ASSERT_EQ(1u, sizes_.size());
  EXPECT_EQ(std::make_pair(164, 394), sizes_[0]);
  view_->MoveControl(kPaneCtlPanel, 0, 24, 120, 200);
  RECT at;
  GetWindowRect(panel, &at);
  EXPECT_EQ(120, at.right - at.left);
  EXPECT_EQ(200, at.bottom - at.top);
  view_->ShowControl(kPaneCtlPanel, false);
  EXPECT_FALSE(IsWindowVisible(panel));

  IDispatchPort* voicePort = view_->CreateVoiceControl(pane::kVoiceControlId);
  ASSERT_NE(nullptr, voicePort);
  const HWND voice = GetDlgItem(parent_, pane::kVoiceControlId);
  EXPECT_NE(nullptr, voice);
  CNvwVoiceCtrl(voicePort).Connect();
  PumpUntil([this] { return !statuses_.empty(); });
  ASSERT_EQ(1u, statuses_.size());
  EXPECT_EQ(std::make_pair(1, 0), statuses_[0]);
  view_->DestroyVoiceControl();
  EXPECT_FALSE(IsWindow(voice));

  view_->ReleaseComponents();
  EXPECT_EQ(nullptr, view_->Background());
  EXPECT_EQ(0u, GetObjectType(background));
  EXPECT_FALSE(IsWindow(panel));
}

TEST(NoPanelInstalled, ViewGivesAnInertPanelAndNoVoiceComponent) {
  const HWND parent = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW, 0, 0, 300, 600,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, parent);
  {
    win::WinPaneView view([parent] { return parent; }, win::PaneViewEvents{});
    EXPECT_EQ(&NullDispatch::Instance(), view.CreatePanel(pane::kPanelId));
    EXPECT_EQ(nullptr, view.CreateVoiceControl(pane::kVoiceControlId));
    EXPECT_EQ(nullptr, GetWindow(parent, GW_CHILD));
    view.MoveControl(kPaneCtlPanel, 0, 24, 164, 394);
    view.ShowControl(kPaneCtlPanel, true);
  }
  DestroyWindow(parent);
}

}  // namespace
}  // namespace pel::panetest
