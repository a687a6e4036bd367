#include "DialogRig.h"

#include <gtest/gtest.h>

#include "pane/win/dialogs/ModelessDialog.h"

namespace pel::wintest {

PaneRig::PaneRig()
    : dialogs([this] { return pane_; }, messages, dialogPane),
      frame_(CreateWindowExA(0, "STATIC", "container", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             300, 200, 500, 400, nullptr, nullptr, GetModuleHandleA(nullptr),
                             nullptr)),
      pane_(CreateWindowExA(0, "STATIC", "pane", WS_CHILD | WS_VISIBLE, 0, 0, 200, 300, frame_,
                            nullptr, GetModuleHandleA(nullptr), nullptr)) {
  ShowWindow(frame_, SW_SHOW);
}

PaneRig::~PaneRig() {
  DestroyPane();
  if (frame_ != nullptr) DestroyWindow(frame_);
}

void PaneRig::DestroyPane() {
  if (pane_ != nullptr) DestroyWindow(pane_);
  pane_ = nullptr;
}

RelayDialogSettings RelaySettings(int port, int32_t module, int32_t outputs, uint32_t rights) {
  RelayDialogSettings s;
  s.serverAddress = "127.0.0.1";
  s.serverPort = port;
  s.moduleNumber = module;
  s.outputCount = outputs;
  s.rightsMask = rights;
  return s;
}

bool Pump(DWORD limitMs, const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (win::ModelessDialog::TranslateDialogMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done && done()) return true;
    if (GetTickCount() - start >= limitMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

HWND FindDialog(const char* title) { return FindWindowA(nullptr, title); }

namespace {

struct TitleSearch {
  const char* title;
  int count;
};

BOOL CALLBACK CountTitle(HWND hwnd, LPARAM p) {
  auto* search = reinterpret_cast<TitleSearch*>(p);
  char text[128] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (std::string(text) == search->title) ++search->count;
  return TRUE;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND hwnd, LPARAM count) {
  CountWindow(hwnd, count);
  EnumChildWindows(hwnd, &CountWindow, count);
  return TRUE;
}

}  // namespace

int CountTopLevel(const char* title) {
  TitleSearch search{title, 0};
  EnumWindows(&CountTitle, reinterpret_cast<LPARAM>(&search));
  return search.count;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool PressEscape(HWND dialog) {
  MSG msg{};
  msg.hwnd = dialog;
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_ESCAPE;
  return win::ModelessDialog::TranslateDialogMessage(msg);
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}
bool ItemEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool ItemVisible(HWND dialog, int id) {
  return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}
bool ItemChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::vector<Control> Controls(HWND dialog) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[64] = {}, text[256] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    controls.push_back({GetDlgCtrlID(child) & 0xFFFF, cls, text, rect});
  }
  return controls;
}

void ExpectControls(HWND dialog, const std::vector<TemplateControl>& expected) {
  std::vector<Control> controls = Controls(dialog);
  ASSERT_EQ(controls.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const TemplateControl& e = expected[i];
    SCOPED_TRACE(std::to_string(e.id) + " " + e.text);
    // Place and size are mapped apart, as the dialog manager maps them.
    RECT want{e.x, e.y, e.cx, e.cy};
    MapDialogRect(dialog, &want);
    want.right += want.left;
    want.bottom += want.top;
    // The dialog manager makes the controls in template order.
    EXPECT_EQ(controls[i].id, e.id);
    EXPECT_STRCASEEQ(controls[i].cls.c_str(), e.cls);
    EXPECT_EQ(controls[i].text, e.text);
    EXPECT_TRUE(EqualRect(&controls[i].rect, &want))
        << "made " << controls[i].rect.left << "," << controls[i].rect.top << ","
        << controls[i].rect.right << "," << controls[i].rect.bottom << ", template " << want.left
        << "," << want.top << "," << want.right << "," << want.bottom;
  }
}

DWORD CountHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return count;
  // Where the system does not count them (Wine answers 0), the handle values in use are
  // probed: they are small multiples of four.
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

ResourceCounts CountResources() {
  ResourceCounts counts;
  counts.handles = CountHandles();
  counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  EnumThreadWindows(GetCurrentThreadId(), &CountWindowAndChildren,
                    reinterpret_cast<LPARAM>(&counts.windows));
  return counts;
}

}  // namespace pel::wintest
