#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pane/win/OperPaneWindow.h"
#include "support/ControlRig.h"

namespace pel::panetest {

// Child IDs and places the pane's children are made with.
constexpr int kPaneId = 0xE900;
constexpr int kPanelId = 209;
constexpr int kModuleListId = 3018;
constexpr int kSpeedLabelId = 3019;

// The masks of the looks under test.
constexpr uint32_t kOneCamera = 0x7EC00;
constexpr uint32_t kSixCameras = 0x7EC00 | 0x1300 | 0xFC;

// A rectangle's left, top, right and bottom, for comparisons.
using Edges4 = std::array<LONG, 4>;
inline Edges4 Edges(LONG left, LONG top, LONG right, LONG bottom) {
  return {left, top, right, bottom};
}
inline Edges4 Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Lets the window messages (and the stand-ins' posted events) through for `ms`.
void Pump(DWORD ms);

// A picture of a window's client area: a 24-bit BMP file.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bmp;

  COLORREF At(int x, int y) const;
  bool Save(const std::string& path) const;
};
// Repaints `window` with its children and copies its client area.
Shot Capture(HWND window);

// A pane made by OperPaneWindow in a visible top-level window, over a CPelioranCtrl whose
// ports are fakes (its viewer records into rig.log as "viewer ...").
class PaneHost {
 public:
  PaneHost();
  ~PaneHost();
  PaneHost(const PaneHost&) = delete;
  PaneHost& operator=(const PaneHost&) = delete;

  // The pane at the control's place for it, with iOperPaneCtls `mask`; null when it fails.
  bool MakePane(uint32_t mask);
  void DestroyPane() { pane.reset(); }

  HWND Child(int id) const { return GetDlgItem(pane->Window(), id); }
  // A child's rectangle in the pane's client coordinates.
  RECT ChildRect(HWND child) const;
  // A press and release of the left button in the middle of `button`, as the mouse sends
  // them.
  void Click(HWND button);

  HWND top = nullptr;
  test::ControlRig rig;
  std::unique_ptr<win::OperPaneWindow> pane;
};

// The tooltip controls of this thread with a tool on window `tool`.
std::vector<HWND> TooltipsOf(HWND tool);

}  // namespace pel::panetest
