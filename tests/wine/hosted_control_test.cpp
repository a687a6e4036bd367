// Outside components hosted as child controls in a real window (run by wine.display, with the
// stand-ins registered).

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "hosted/SimpleViewer.h"
#include "hosted/SimpleViewerDispids.h"
#include "hosted/win/ComponentGuard.h"
#include "hosted/win/HostedControl.h"

namespace {

using pel::Variant;
using pel::win::HostedControl;

const CLSID kViewer = {0x775D096D, 0x0F0F, 0x45FA,
                       {0x8E, 0xE1, 0x4C, 0x1F, 0xD1, 0x94, 0x91, 0x0B}};
const CLSID kNotInstalled = {0x0E6F7B21, 0x33C4, 0x4C0B,
                             {0x9D, 0x11, 0x52, 0x7A, 0x40, 0x18, 0xE2, 0x6D}};

struct Fired {
  int32_t id;
  std::vector<Variant> args;
};

class HostedControlTest : public testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              1000, 760, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, parent_);
    ShowWindow(parent_, SW_SHOW);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }
  pel::win::ComponentEvent Recorder() {
    return [this](int32_t id, const std::vector<Variant>& args) { fired_.push_back({id, args}); };
  }
  // A component in a window fires its events from its message queue. Checks that nothing
  // comes wait a short while.
  void PumpUntil(size_t events, DWORD limitMs = 2000) {
    const DWORD start = GetTickCount();
    while (fired_.size() < events && GetTickCount() - start < limitMs) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    }
  }
  RECT ChildRect(HWND child) const {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  HWND parent_ = nullptr;
  std::vector<Fired> fired_;
};

TEST_F(HostedControlTest, ViewerIsAChildControlWithItsIdRectangleAndEvents) {
  HostedControl viewer;
  const RECT rect = {190, 10, 906, 554};
  ASSERT_EQ(S_OK, viewer.Create(kViewer, parent_, rect, 206, Recorder()));
  ASSERT_NE(nullptr, viewer.Dispatch());
  ASSERT_NE(nullptr, viewer.Window());
  EXPECT_EQ(viewer.Window(), GetDlgItem(parent_, 206));
  EXPECT_TRUE(IsWindowVisible(viewer.Window()));
  const RECT got = ChildRect(viewer.Window());
  EXPECT_EQ(190, got.left);
  EXPECT_EQ(10, got.top);
  EXPECT_EQ(906, got.right);
  EXPECT_EQ(554, got.bottom);

  pel::CSimpleViewer wrapper(viewer.Dispatch());
  EXPECT_TRUE(wrapper.IsCreated());
  wrapper.SetBShowCam(1, true);
  wrapper.SetBShowCam(2, true);
  wrapper.SetITileWidth(352);
  wrapper.SetITileHeight(288);
  wrapper.SetStrServerAddr("127.0.0.1");
  PumpUntil(2);
  // One picture-width event per shown camera at the connect: camera (I2), width.
  ASSERT_EQ(2u, fired_.size());
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(pel::viewer_dispid::kEventPictureWidth, fired_[k].id);
    ASSERT_EQ(5u, fired_[k].args.size());
    EXPECT_EQ(pel::kVtI2, fired_[k].args[0].vt);
    EXPECT_EQ(k + 1, fired_[k].args[0].AsInt());
    EXPECT_EQ(352, fired_[k].args[1].AsInt());
  }
  // A click on the second tile selects its camera.
  SendMessageW(viewer.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 100));
  SendMessageW(viewer.Window(), WM_LBUTTONUP, 0, MAKELPARAM(400, 100));
  PumpUntil(3);
  ASSERT_EQ(3u, fired_.size());
  EXPECT_EQ(pel::viewer_dispid::kEventCameraSelected, fired_[2].id);
  ASSERT_FALSE(fired_[2].args.empty());
  EXPECT_EQ(2, fired_[2].args[0].AsInt());

  viewer.Move({10, 20, 370, 308});
  const RECT moved = ChildRect(viewer.Window());
  EXPECT_EQ(10, moved.left);
  EXPECT_EQ(20, moved.top);
  EXPECT_EQ(370, moved.right);
  EXPECT_EQ(308, moved.bottom);

  const HWND window = viewer.Window();
  viewer.Destroy();
  EXPECT_EQ(nullptr, viewer.Dispatch());
  EXPECT_FALSE(IsWindow(window));
  // Gone components fire no more events.
  PumpUntil(4, 200);
  EXPECT_EQ(3u, fired_.size());
}

TEST_F(HostedControlTest, MissingComponentLeavesTheWrapperInert) {
  HostedControl missing;
  EXPECT_EQ(REGDB_E_CLASSNOTREG,
            missing.Create(kNotInstalled, parent_, {190, 10, 906, 554}, 206, Recorder()));
  EXPECT_EQ(nullptr, missing.Dispatch());
  EXPECT_EQ(nullptr, missing.Window());
  EXPECT_EQ(nullptr, GetDlgItem(parent_, 206));
  pel::CSimpleViewer wrapper(missing.Dispatch());
  EXPECT_FALSE(wrapper.IsCreated());
  wrapper.SetStrServerAddr("127.0.0.1");
  EXPECT_EQ("", wrapper.GetStrServerAddr());
  PumpUntil(1, 200);
  EXPECT_TRUE(fired_.empty());
}

// The kill bit, set in the registry view that is not this process's own.
TEST_F(HostedControlTest, KillBittedOrUnsafeComponentIsNotCreated) {
  const wchar_t* key =
      L"Software\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\"
      L"{775D096D-0F0F-45FA-8EE1-4C1FD194910B}";
  const REGSAM otherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  HKEY compat = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0,
                                           KEY_SET_VALUE | otherView, nullptr, &compat, nullptr));
  const DWORD flags = 0x400;
  RegSetValueExW(compat, L"Compatibility Flags", 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&flags), sizeof flags);
  RegCloseKey(compat);
  HostedControl viewer;
  EXPECT_EQ(pel::win::kComponentBlocked,
            viewer.Create(kViewer, parent_, {190, 10, 906, 554}, 206, Recorder()));
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key, otherView, 0);
  EXPECT_EQ(nullptr, viewer.Dispatch());
  EXPECT_EQ(nullptr, GetDlgItem(parent_, 206));

  // In a browser page, a component without IObjectSafety is released unused.
  const pel::win::HostingContext page{{}, true};
  SetEnvironmentVariableW(L"PEL_STANDIN_UNSAFE", L"viewer");
  EXPECT_EQ(pel::win::kComponentBlocked,
            viewer.Create(kViewer, parent_, {190, 10, 906, 554}, 206, Recorder(), page));
  SetEnvironmentVariableW(L"PEL_STANDIN_UNSAFE", nullptr);
  EXPECT_EQ(nullptr, GetDlgItem(parent_, 206));
  ASSERT_EQ(S_OK, viewer.Create(kViewer, parent_, {190, 10, 906, 554}, 206, Recorder(), page));
  EXPECT_NE(nullptr, viewer.Dispatch());
}

}  // namespace
