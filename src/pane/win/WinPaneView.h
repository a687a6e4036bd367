#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Common/DisplayScale.h"
#include "control/OperPaneLink.h"
#include "hosted/win/HostedControl.h"
#include "pane/win/GdiHandles.h"
#include "pane/win/PaneChildSupport.h"
#include "pane/win/WinComboWindow.h"
#include "pane/win/WinSkinButtonWindow.h"
#include "pane/win/SkinSet.h"
#include "pane/win/WinSkinImageSource.h"
#include "ports/PaneView.h"

namespace pel::win {

// A window the keyboard may stop at, with its place on the screen.
struct FocusStop {
  HWND window;
  RECT place;
  bool camera;  // Cam1..Cam6, All, None: the arrow keys move among these
};

// What the hosted components report to the pane.
struct PaneViewEvents {
  std::function<void(int cx, int cy)> panelSizeChanged;  // the panel's SizeChanged
  std::function<void(int32_t code, int32_t detail)> voiceStatus;  // the voice status event
};

// The pane's child windows as its model drives them: the owner-drawn buttons, the two drop-down
// lists, the hosted serial/PTZ panel and voice component, the skins and the background. What it
// makes belongs to the pane's window and goes with it (ReleaseComponents, ReleaseWindows).
//
// The model lays the pane out in 96-DPI pixels; the view places and draws at the scale of the
// pane's window (asked once, when first needed) with the process's shared skins of that scale,
// and with the system's colours while high contrast is on.
class WinPaneView final : public IPaneView {
 public:
  // `hosting`: where the control is, for the components the pane hosts.
  WinPaneView(std::function<HWND()> paneWindow, PaneViewEvents events,
              HostingContext hosting = {});
  WinPaneView(const WinPaneView&) = delete;
  WinPaneView& operator=(const WinPaneView&) = delete;
  ~WinPaneView() override;

  // IPaneView
  bool CreateButton(int control, int childId, CSkinButton& button) override;
  bool CreateComboBox(int control, int childId, const ChildRect& rect,
                      CSkinComboBox& combo) override;
  ISkinImageSource& SkinImages() override { return skinImages_; }
  // A panel that is not installed (or must not run here) is an inert one, so that the pane
  // (and the control) still start; null only when an installed panel fails.
  IDispatchPort* CreatePanel(int childId) override;
  bool LoadBackground(int resource, int width, int height) override;
  void MoveControl(int control, int x, int y, int width, int height) override;
  void ShowControl(int control, bool show) override;
  void EnableControl(int control, bool enable) override;
  void ResizePane(int width, int height) override;
  IDispatchPort* CreateVoiceControl(int childId) override;
  void DestroyVoiceControl() override;

  // What the buttons and lists made from now on get for the keyboard and accessibility.
  void SetChildSupport(PaneChildSupport support) { support_ = std::move(support); }
  // The enabled, visible buttons (not the labels) and lists, top to bottom, then left to right.
  std::vector<FocusStop> FocusStops() const;
  // The button or list of a window; null for any other.
  WinSkinButtonWindow* ButtonOf(HWND window) const;
  WinComboWindow* ComboOf(HWND window) const;

  // Messages the pane's window hands on: true when the child was one of these.
  bool DrawItem(const DRAWITEMSTRUCT& item);
  // WM_SETTINGCHANGE or WM_SYSCOLORCHANGE: high contrast is read again and, when it changed,
  // the pane and its children are redrawn.
  void DisplaySettingsChanged();
  bool SelectionChanged(HWND child);

  // The pane's window is being destroyed: the hosted components and the background go.
  void ReleaseComponents();
  // Its children are gone: so are the objects behind them.
  void ReleaseWindows();

  // The shared background bitmap while the pane has loaded it, else null.
  HBITMAP Background() const;
  // The scale of the pane's window and the skins shared at it (null when they cannot be had).
  const DisplayScale& Scale();
  std::shared_ptr<const SkinSet> Skins();
  bool HighContrast() const { return highContrast_; }
  // The window of control `control` (PaneControl), null when it has none.
  HWND ControlWindow(int control) const;
  // The tooltip of a button (0..18) or list (19, 20), null when it has none.
  HWND TooltipWindow(int control) const;

 private:
  // `pick` of the window object of button or list `control`; null when there is none.
  template <typename Pick>
  HWND PickWindow(int control, Pick pick) const {
    if (control >= 0 && control < kPaneButtonCount) {
      const auto& button = buttons_[static_cast<size_t>(control)];
      return button ? pick(*button) : nullptr;
    }
    if (control == kPaneCtlModuleList || control == kPaneCtlSpeedList) {
      const auto& combo = combos_[static_cast<size_t>(control - kPaneCtlModuleList)];
      return combo ? pick(*combo) : nullptr;
    }
    return nullptr;
  }

  std::function<HWND()> paneWindow_;
  PaneViewEvents events_;
  HostingContext hosting_;
  PaneChildSupport support_;
  std::optional<DisplayScale> scale_;
  std::shared_ptr<const SkinSet> skinSet_;
  WinSkinImageSource skinImages_;
  bool highContrast_;
  std::array<std::unique_ptr<WinSkinButtonWindow>, kPaneButtonCount> buttons_;
  std::array<std::unique_ptr<WinComboWindow>, 2> combos_;
  HostedControl panel_;
  std::unique_ptr<HostedControl> voice_;
  bool backgroundLoaded_ = false;
};

}  // namespace pel::win
