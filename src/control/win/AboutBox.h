#pragma once

#include <windows.h>

namespace pel::win {

// The About dialog (resource 1), modal over `parent`; returns when the user closes it.
void ShowAboutBox(HWND parent);

}  // namespace pel::win
