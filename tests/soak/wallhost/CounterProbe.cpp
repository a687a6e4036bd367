#include "CounterProbe.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "Report.h"
#include "ResourceCounts.h"

namespace {

DWORD WINAPI WaitFor(void* event) { return WaitForSingleObject(event, INFINITE); }

}  // namespace

void ProbeCounters(Report& report) {
  ResourceSnapshot before = TakeSnapshot();
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HWND window = CreateWindowExW(0, L"STATIC", L"probe", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  const SIZE_T bytes = 8 << 20;
  void* memory = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  // Wine counts committed pages only once they are touched.
  if (memory) std::memset(memory, 1, bytes);
  HANDLE thread = CreateThread(nullptr, 0, WaitFor, event, 0, nullptr);
  ResourceSnapshot during = TakeSnapshot();
  SetEvent(event);
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  if (memory) VirtualFree(memory, 0, MEM_RELEASE);
  if (window) DestroyWindow(window);
  if (brush) DeleteObject(brush);
  if (event) CloseHandle(event);
  auto delta = [](long long a, long long b) { return std::to_string(b - a); };
  report.Line("probe\twindows\t" + delta(before.windows.size(), during.windows.size()) +
              "\thandles\t" + delta(before.handles.size(), during.handles.size()) + "\tgdi\t" +
              delta(before.gdi.size(), during.gdi.size()) + "\tprivate\t" +
              delta(before.private_bytes, during.private_bytes) + "\tthreads\t" +
              delta(before.threads, during.threads));
}
