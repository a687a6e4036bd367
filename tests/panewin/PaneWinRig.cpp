#include "PaneWinRig.h"

#include <commctrl.h>

#include <cstring>

#include "control/ControlGeometry.h"

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

bool Shot::Save(const std::wstring& path) const {
  if (width <= 0 || height <= 0) return false;
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = offset;
  file.bfSize = offset + stride * static_cast<uint32_t>(height);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::vector<uint8_t> bytes(file.bfSize, 0);
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bytes.data() + offset + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = At(x, y);
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  const HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(out);
  return ok && written == bytes.size();
}

Shot Capture(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client;
  GetClientRect(window, &client);
  Shot shot;
  shot.width = client.right;
  shot.height = client.bottom;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC source = GetDC(window);
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory != nullptr && dib != nullptr && bits != nullptr) {
    const HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, shot.width, shot.height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) {
      shot.pixels.push_back(RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF));
    }
    SelectObject(memory, old);
  }
  if (dib != nullptr) DeleteObject(dib);
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(window, source);
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
