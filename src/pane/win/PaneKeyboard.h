#pragma once

#include <windows.h>
#include <oleidl.h>

#include <functional>

#include "com/ComPtr.h"

namespace pel::win {

class WinPaneView;

// The pane's keyboard. Tab and Shift+Tab move through the enabled, visible buttons and lists
// in visual order (top to bottom, then left to right), and past the last (or before the first)
// hand the focus back to the container; the arrow keys move among the camera buttons; Space
// and Enter press a button; Alt+Down, Alt+Up and F4 open or close a list. The first key it
// takes turns the focus mark on.
class PaneKeyboard {
 public:
  // `site`: the control's client site, asked to move the focus on in the container.
  PaneKeyboard(WinPaneView& view, std::function<HWND()> paneWindow,
               com::ComPtr<IOleClientSite> site);

  // A WM_KEYDOWN or WM_SYSKEYDOWN for a window of the pane: true when the pane took it.
  bool Translate(const MSG& msg);
  // The focus to the first stop (the last one with `last`); false when there is none.
  bool FocusEdge(bool last);
  bool CuesShown() const { return cues_; }

 private:
  bool Tab(HWND from, bool backwards, const MSG& msg);
  bool Arrow(HWND from, UINT key);
  // Past the pane's last stop: the container's site moves the focus on, else the next tab
  // stop of the container's dialog, else the container's window takes it.
  void HandOff(const MSG& msg, bool backwards);
  void Focus(HWND window);

  WinPaneView& view_;
  std::function<HWND()> paneWindow_;
  com::ComPtr<IOleClientSite> site_;
  bool cues_ = false;
};

}  // namespace pel::win
