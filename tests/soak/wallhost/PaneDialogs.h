// The pane's modeless dialogs as a user works them: found by their caption among this
// thread's windows, their buttons clicked the way a click reaches them, their texts read.
#pragma once
#include <windows.h>

#include <string>

// The visible dialog of this thread with this caption, waited for up to wait_ms with the
// message loop running; null when there is none.
HWND WaitForDialog(const wchar_t* caption, DWORD wait_ms);
// Waits up to wait_ms for the dialog to be gone; false when it is still there.
bool WaitDialogGone(HWND dialog, DWORD wait_ms);
// A click on the dialog's item; false when the dialog has no such item.
bool ClickItem(HWND dialog, int id);
// The item can be clicked: it is there, visible and enabled.
bool Clickable(HWND dialog, int id);
std::wstring ItemText(HWND dialog, int id);
