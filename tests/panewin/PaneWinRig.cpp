#include "PaneWinRig.h"

#include <commctrl.h>

#include <fstream>

#include "control/ControlGeometry.h"
#include "comtext/BmpFile.h"

namespace pel::panetest {

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

COLORREF Shot::At(int x, int y) const {
  // A bottom-up 24-bit BMP file: rows padded to four bytes after the two headers.
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t at = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) +
                    static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
  return RGB(bmp.at(at + 2), bmp.at(at + 1), bmp.at(at));
}

bool Shot::Save(const std::string& path) const {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  return !bmp.empty() && out.good();
}

Shot Capture(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client;
  GetClientRect(window, &client);
  const HDC dc = GetDC(window);
  Shot shot{client.right, client.bottom, com::CaptureBmpFile(dc, 0, 0, client.right, client.bottom)};
  ReleaseDC(window, dc);
  return shot;
}

PaneHost::PaneHost() {
  top = CreateWindowExW(0, L"STATIC", L"pane host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                        400, 760, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (top != nullptr) {
    ShowWindow(top, SW_SHOW);
    SetForegroundWindow(top);
    SetActiveWindow(top);
  }
  rig.ctrl.AttachViewer(&rig.viewer());
}

PaneHost::~PaneHost() {
  pane.reset();
  if (top != nullptr) DestroyWindow(top);
}

bool PaneHost::MakePane(uint32_t mask) {
  rig.ctrl.SetIOperPaneCtls(static_cast<int32_t>(mask));
  pane = win::OperPaneWindow::Create(top, geometry::kPaneRect, kPaneId, &rig.ctrl, rig.messages);
  if (pane == nullptr) return false;
  rig.ctrl.AttachPane(&pane->Link());
  return true;
}

RECT PaneHost::ChildRect(HWND child) const {
  RECT r = {};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, pane->Window(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PaneHost::Click(HWND button) {
  RECT r;
  GetClientRect(button, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(button, WM_LBUTTONUP, 0, at);
}

namespace {

struct TooltipSearch {
  HWND tool;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTooltip(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TooltipSearch*>(data);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
  const int tools = static_cast<int>(SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0));
  for (int i = 0; i < tools; ++i) {
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    if (SendMessageW(window, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info)) &&
        info.hwnd == search->tool) {
      search->found.push_back(window);
      break;
    }
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> TooltipsOf(HWND tool) {
  TooltipSearch search{tool, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace pel::panetest
