// What a host that puts ATL's window in a frame of its own needs (atlhost and soakwall): the
// frame's window class, the message loop, the control's own window.
#pragma once
#include <windows.h>

#include "ComRef.h"

extern const wchar_t kFrameClass[];

// Registers kFrameClass; false when it cannot.
bool RegisterFrameClass();

// Runs this thread's message loop for ms milliseconds.
void PumpMessages(DWORD ms);

// The in-place active control's window, or null.
HWND ControlWindow(const hostkit::ComRef<IUnknown>& control);
