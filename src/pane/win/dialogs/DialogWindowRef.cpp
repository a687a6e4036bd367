#include "pane/win/dialogs/DialogWindowRef.h"

namespace pel::win {

void DialogWindowRef::SetItemText(int id, const std::string& text) const {
  if (HWND item = Item(id)) SetWindowTextA(item, text.c_str());
}

std::string DialogWindowRef::ItemText(int id) const {
  HWND item = Item(id);
  if (item == nullptr) return {};
  const int length = GetWindowTextLengthA(item);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(item, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void DialogWindowRef::SetItemCheck(int id, bool checked) const {
  if (HWND item = Item(id)) SendMessageA(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool DialogWindowRef::ItemChecked(int id) const {
  HWND item = Item(id);
  return item != nullptr && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogWindowRef::EnableItem(int id, bool enable) const {
  if (HWND item = Item(id)) EnableWindow(item, enable ? TRUE : FALSE);
}

LRESULT DialogWindowRef::SendItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  HWND item = Item(id);
  return item != nullptr ? SendMessageA(item, message, wParam, lParam) : 0;
}

void DialogWindowRef::DestroyWindow() {
  const HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  if (hwnd != nullptr) ::DestroyWindow(hwnd);
}

}  // namespace pel::win
