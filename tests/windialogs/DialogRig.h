#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "pane/win/dialogs/WinPaneDialogs.h"
#include "relay/RelayOutputDlg.h"
#include "support/ControlFakes.h"
#include "support/FakeDialogPane.h"

namespace pel::wintest {

// A child window standing in for the operation pane in a top-level window standing in for
// the control's container, and the dialogs over the pane.
class PaneRig {
 public:
  PaneRig();
  ~PaneRig();
  PaneRig(const PaneRig&) = delete;
  PaneRig& operator=(const PaneRig&) = delete;

  HWND frame() const { return frame_; }
  HWND pane() const { return pane_; }
  void DestroyPane();

  test::RecordingMessages messages;
  test::FakeDialogPane dialogPane;
  win::WinPaneDialogs dialogs;

 private:
  HWND frame_;
  HWND pane_;
};

// The relay dialog's settings for a kvsim scenario on `port`.
RelayDialogSettings RelaySettings(int port, int32_t module, int32_t outputs, uint32_t rights);

// Delivers this thread's messages until `done` answers true or `limitMs` has passed; whether
// `done` was reached (with no `done`: false, after the whole time).
bool Pump(DWORD limitMs, const std::function<bool()>& done = nullptr);

HWND FindDialog(const char* title);
int CountTopLevel(const char* title);
// The button's click as the user makes it (ignored by a disabled button).
void Click(HWND dialog, int id);
// Escape pressed in the dialog, through the message loop's dialog translation.
bool PressEscape(HWND dialog);

std::string ItemText(HWND dialog, int id);
bool ItemEnabled(HWND dialog, int id);
bool ItemVisible(HWND dialog, int id);
bool ItemChecked(HWND dialog, int id);

// A control as the dialog manager made it: ID, class, text and rectangle in the dialog's
// client coordinates.
struct Control {
  int id;
  std::string cls;
  std::string text;
  RECT rect;
};
std::vector<Control> Controls(HWND dialog);

// A control as a template describes it: the rectangle in dialog units.
struct TemplateControl {
  int id;  // 0xFFFF for the templates' unnamed statics and group boxes
  const char* cls;
  const char* text;
  int x, y, cx, cy;
};
// Every control of the template, and only those, is there with its class, text and the
// template's rectangle mapped to pixels by the dialog itself.
void ExpectControls(HWND dialog, const std::vector<TemplateControl>& expected);

// The process's open handles.
DWORD CountHandles();

// What the process holds: handles, windows of this thread (top-level and children), and
// GDI and USER objects where the system counts them (Wine does not: 0).
struct ResourceCounts {
  DWORD handles = 0;
  int windows = 0;
  DWORD gdi = 0;
  DWORD user = 0;
  bool operator==(const ResourceCounts& o) const {
    return handles == o.handles && windows == o.windows && gdi == o.gdi && user == o.user;
  }
};
ResourceCounts CountResources();

}  // namespace pel::wintest
