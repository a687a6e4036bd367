#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace pel::win {

// What the pane gives each of its skinned child windows for the keyboard and for
// accessibility clients.
struct PaneChildSupport {
  // The pane's keyboard: true when it took the key message (WM_KEYDOWN, WM_SYSKEYDOWN).
  std::function<bool(const MSG&)> keys;
  // Whether the focus mark shows: only once the keyboard was used in the pane, so that a
  // mouse user sees the skins as they are.
  std::function<bool()> focusCues;
};

// The text of string resource `id`, widened, for accessibility clients.
std::wstring AccessibleText(int id);

// Sends EVENT_OBJECT_STATECHANGE for `window`'s client object when the state bits that
// clients follow (pressed, checked, unavailable, expanded) differ from `last`, which it updates.
void NotifyStateChange(HWND window, long state, long& last);

}  // namespace pel::win
