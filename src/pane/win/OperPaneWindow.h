#pragma once

#include <windows.h>

#include <memory>

#include "hosted/win/HostingContext.h"
#include "ports/ControlChildren.h"

namespace pel {
class CPelioranCtrl;
class CPelioranOperPane;
class IOperPaneLink;
class IUserMessages;
}  // namespace pel

namespace pel::win {

// The operation pane's child window of the control: owns the pane model, its view, its
// dialogs (WinPaneDialogs) and the snapshot services. The window goes with this object.
class OperPaneWindow {
 public:
  // Creates the pane as a visible child of `parent` with child ID `id` in `rect`; null when
  // the window (or the pane's WM_CREATE) fails. `ctrl` is the control that made it; `hosting`
  // tells where it is, for the components the pane hosts.
  static std::unique_ptr<OperPaneWindow> Create(HWND parent, const ChildRect& rect, int id,
                                                CPelioranCtrl* ctrl, IUserMessages& messages,
                                                const HostingContext& hosting = {});
  ~OperPaneWindow();   // destroys the window if it still exists
  OperPaneWindow(const OperPaneWindow&) = delete;
  OperPaneWindow& operator=(const OperPaneWindow&) = delete;

  CPelioranOperPane& Pane();
  IOperPaneLink& Link();   // == Pane()
  HWND Window() const;
  // The control's window passes on WM_SETTINGCHANGE and WM_SYSCOLORCHANGE, which reach only
  // top-level windows.
  void DisplaySettingsChanged();

  // A key message for the pane or a window in it (a container's pre-translation): true when
  // the pane's keyboard took it.
  bool TranslateKey(const MSG& msg);
  // The focus to the pane's first control (its last with `last`); false when none takes it.
  bool FocusEdge(bool last);

 private:
  struct Parts;

  OperPaneWindow(CPelioranCtrl* ctrl, IUserMessages& messages, const HostingContext& hosting);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);

  std::unique_ptr<Parts> parts_;
  HWND window_ = nullptr;
};

}  // namespace pel::win
