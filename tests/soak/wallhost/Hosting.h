// What the wall and the soak share to host controls in Wine's ATL (beside Frame.h): a
// control's <param> values, its viewer, and the DLL's unload.
#pragma once
#include <objbase.h>
#include <windows.h>

#include <string>

#include "ComRef.h"
#include "Frame.h"
#include "ParamPropertyBag.h"
#include "Report.h"

// One control in its cell of ATL's host window.
struct Cell {
  hostkit::ComRef<IUnknown> control;
  hostkit::ComRef<IUnknown> container;
  HWND window = nullptr;
};

// The control shows its viewer window (the first picture's place).
bool ShowsViewer(HWND control);
void LoadParams(const hostkit::ComRef<IUnknown>& control, ParamPropertyBag::Params params,
                hostkit::Report& report);
// The DLL's DllCanUnloadNow answer ("0x00000000" for S_OK), or why there is none.
std::string UnloadAnswer(const std::wstring& dll);
