#pragma once

#include <windows.h>

#include <memory>

#include "hosted/win/HostedControl.h"
#include "ports/ControlChildren.h"

namespace pel {
class CPelioranCtrl;
class IUserMessages;
}  // namespace pel

namespace pel::win {

class OperPaneWindow;

// The control window's two children, made by the start sequence: the operation pane and the
// hosted video viewer, whose camera-selected and picture-width events go to the control.
// Both go with this object (or earlier, with the control's window).
class WinControlChildren final : public IControlChildren {
 public:
  // `hosting`: where the control is, for the components its children host.
  WinControlChildren(HWND parent, CPelioranCtrl& ctrl, IUserMessages& messages,
                     HostingContext hosting = {});
  ~WinControlChildren() override;
  WinControlChildren(const WinControlChildren&) = delete;
  WinControlChildren& operator=(const WinControlChildren&) = delete;

  IOperPaneLink* CreatePane(const ChildRect& rect, int id) override;
  IDispatchPort* CreateViewer(const ChildRect& rect, int id) override;

  HostedControl& Viewer() { return viewer_; }
  // Display settings (high contrast, colours) changed: the pane looks again.
  void DisplaySettingsChanged();

  // A container's key message for the pane: true when the pane took it.
  bool TranslatePaneKey(const MSG& msg);
  // The focus to the pane's first control (its last with `last`); false without one.
  bool FocusPane(bool last);

 private:
  void OnViewerEvent(int32_t dispid, const std::vector<Variant>& args);

  HWND parent_;
  CPelioranCtrl& ctrl_;
  IUserMessages& messages_;
  HostingContext hosting_;
  std::unique_ptr<OperPaneWindow> pane_;
  HostedControl viewer_;
};

}  // namespace pel::win
