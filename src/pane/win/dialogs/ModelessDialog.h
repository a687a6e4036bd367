#pragma once

#include <windows.h>

namespace pel::win {

// What a dialog window reports to the dialog object behind it.
class IDialogHandler {
 public:
  virtual ~IDialogHandler() = default;
  // WM_INITDIALOG; true lets the dialog manager set the initial focus.
  virtual bool OnInitDialog(HWND dialog) = 0;
  // A button click (or an accelerator) from control `id`; never IDCANCEL.
  virtual void OnCommand(int id) = 0;
  // IDCANCEL: the Escape key through IsDialogMessage.
  virtual void OnCancel() = 0;
  // WM_CLOSE: the caption's close button.
  virtual void OnClose() = 0;
  // The user let go of trackbar `id`.
  virtual void OnSliderReleased(int id) = 0;
  // WM_DESTROY: the window and its controls still exist.
  virtual void OnDestroy() = 0;
};

// A modeless dialog window made from a template of the module, owned: destroying this object
// destroys a window that is still there. The window may also end on its own (through its
// handler, or with its parent); this object then simply holds none.
class ModelessDialog {
 public:
  ModelessDialog() = default;
  ~ModelessDialog() { Destroy(); }
  ModelessDialog(const ModelessDialog&) = delete;
  ModelessDialog& operator=(const ModelessDialog&) = delete;

  // Creates the window of template `templateId` with `parent` as its parent, reporting to
  // `handler`, places it at (0, 0) without resizing it and shows it. False when a window of
  // this object is still open or the dialog manager cannot make one.
  bool Open(int templateId, HWND parent, IDialogHandler& handler);
  void Destroy();

  bool IsOpen() const { return hwnd_ != nullptr; }
  HWND Window() const { return hwnd_; }

  // For the message loop: keyboard navigation (Tab, Enter, Escape) of whichever of this
  // thread's modeless dialogs `msg` is meant for. True when the dialog took the message.
  static bool TranslateDialogMessage(MSG& msg);

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  IDialogHandler* handler_ = nullptr;
};

}  // namespace pel::win
