// The keyboard and accessibility as a user and a screen reader meet a control: keys posted to
// the focused window, the focus, and each window's client object through oleacc.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace hostkit {

// Posts key "VK", "VK+shift" or "VK+alt" (VK decimal) to the focused window and runs `pump`
// while Shift shows as held: "key TEXT ID inside|outside", the window with the focus then and
// whether it lies in `root`; or an error line.
std::string PressKey(const std::string& text, HWND root, const std::function<void()>& pump);

// "acc ID CLASS NAME ROLE STATE ACTION" (role and state in hex) for each descendant of `root`,
// then the state change and focus WinEvents since the last call: "winevent state|focus ID".
std::vector<std::string> AccessibleLines(HWND root);

// accDoDefaultAction on the client object of `window`.
HRESULT DoDefaultAction(HWND window);

}  // namespace hostkit
