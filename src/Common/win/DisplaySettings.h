#pragma once

#include <windows.h>

namespace pel::win {

// The dots per inch of `window`: the window's own where the system tells it (Windows 10 and
// later, looked up at run time so that older systems still load the DLL), else the screen's.
int WindowDpi(HWND window);

}  // namespace pel::win
