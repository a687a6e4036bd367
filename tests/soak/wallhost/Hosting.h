// What the wall and the soak share to host controls in Wine's ATL: the frame window class,
// the message loop, a control's <param> values, its window and viewer, and the DLL's unload.
#pragma once
#include <objbase.h>
#include <windows.h>

#include <string>

#include "ComRef.h"
#include "ParamPropertyBag.h"

namespace hostkit {
class Report;
}  // namespace hostkit

extern const wchar_t kFrameClass[];

// Registers kFrameClass; false when it cannot.
bool RegisterFrameClass();

// Runs this thread's message loop for ms milliseconds.
void Pump(DWORD ms);

// One control in its cell of ATL's host window.
struct Cell {
  hostkit::ComRef<IUnknown> control;
  hostkit::ComRef<IUnknown> container;
  HWND window = nullptr;
};

HWND ControlWindow(const hostkit::ComRef<IUnknown>& control);
// The control shows its viewer window (the first picture's place).
bool ShowsViewer(HWND control);
void LoadParams(const hostkit::ComRef<IUnknown>& control, ParamPropertyBag::Params params,
                hostkit::Report& report);
// The DLL's DllCanUnloadNow answer ("0x00000000" for S_OK), or why there is none.
std::string UnloadAnswer(const std::wstring& dll);
