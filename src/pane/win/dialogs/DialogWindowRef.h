#pragma once

#include <windows.h>

#include <string>

namespace pel::win {

// A dialog window as its views reach it: its controls by ID. Detach() is called once the
// window is being destroyed; from then on every call does nothing, so that a view that
// outlives its window never reaches a window handle that may be reused.
class DialogWindowRef {
 public:
  explicit DialogWindowRef(HWND dialog) : hwnd_(dialog) {}

  HWND Window() const { return hwnd_; }
  HWND Item(int id) const { return hwnd_ != nullptr ? GetDlgItem(hwnd_, id) : nullptr; }
  void Detach() { hwnd_ = nullptr; }

  void SetItemText(int id, const std::string& text) const;
  std::string ItemText(int id) const;
  void SetItemCheck(int id, bool checked) const;
  bool ItemChecked(int id) const;
  void EnableItem(int id, bool enable) const;
  LRESULT SendItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const;
  // Destroys the window (detaching first: its destruction may end the view too).
  void DestroyWindow();

 private:
  HWND hwnd_;
};

}  // namespace pel::win
