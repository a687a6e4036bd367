#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "ports/ControlChildren.h"

namespace pel::win {

// A child window of a system class ("BUTTON", "COMBOBOX") whose messages pass through a
// handler first. It is destroyed with this object unless its parent took it down before.
class SubclassedChild {
 public:
  // A message's result when the handler consumed it; nothing passes it on to the class.
  using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam,
                                                       LPARAM lParam)>;

  SubclassedChild() = default;
  SubclassedChild(const SubclassedChild&) = delete;
  SubclassedChild& operator=(const SubclassedChild&) = delete;
  ~SubclassedChild();

  // A child of `parent` with `childId` in `rect`; false when it cannot be made.
  bool Create(const wchar_t* className, DWORD style, const ChildRect& rect, HWND parent,
              int childId, Handler handler);
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
  void Detach();

  HWND window_ = nullptr;
  Handler handler_;
};

}  // namespace pel::win
