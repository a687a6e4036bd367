#include "CounterProbe.h"

#include <windows.h>

#include <cstring>

#include "ResourceCounts.h"

namespace hostkit {
namespace {

DWORD WINAPI WaitFor(void* event) { return WaitForSingleObject(event, INFINITE); }

}  // namespace

CounterMoves ProbeCounters() {
  // The process's first window makes what Wine keeps for good (GDI objects among them):
  // that comes before the count.
  if (HWND first = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr)) {
    DestroyWindow(first);
  }
  const ResourceSnapshot before = TakeSnapshot();
  HANDLE events[kProbeObjects];
  HBRUSH brushes[kProbeObjects];
  for (int k = 0; k < kProbeObjects; ++k) {
    events[k] = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    brushes[k] = CreateSolidBrush(RGB(k, 2, 3));
  }
  HWND window = CreateWindowExW(0, L"STATIC", L"probe", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  void* memory = VirtualAlloc(nullptr, kProbeBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  // Wine counts committed pages only once they are touched.
  if (memory) std::memset(memory, 1, kProbeBytes);
  HANDLE thread = CreateThread(nullptr, 0, WaitFor, events[0], 0, nullptr);
  const ResourceSnapshot during = TakeSnapshot();

  SetEvent(events[0]);
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  if (memory) VirtualFree(memory, 0, MEM_RELEASE);
  if (window) DestroyWindow(window);
  for (int k = 0; k < kProbeObjects; ++k) {
    if (brushes[k]) DeleteObject(brushes[k]);
    if (events[k]) CloseHandle(events[k]);
  }
  const ResourceSnapshot after = TakeSnapshot();

  const ResourceTotals b = Totals(before);
  const ResourceTotals d = Totals(during);
  const ResourceTotals a = Totals(after);
  // A counter that could not be read moves by -1: a fault, never a pass.
  auto moved = [](long long from, long long to) { return from < 0 || to < 0 ? -1 : to - from; };
  CounterMoves m;
  m.windows = moved(b.windows, d.windows);
  m.handles = moved(b.handles, d.handles);
  m.gdi = moved(b.gdi, d.gdi);
  m.private_bytes = moved(b.private_bytes, d.private_bytes);
  m.threads = moved(b.threads, d.threads);
  m.windows_left = moved(b.windows, a.windows);
  m.handles_left = moved(b.handles, a.handles);
  m.gdi_left = moved(b.gdi, a.gdi);
  return m;
}

std::string ProbeLine(const CounterMoves& m) {
  return "probe\twindows\t" + std::to_string(m.windows) + "\thandles\t" +
         std::to_string(m.handles) + "\tgdi\t" + std::to_string(m.gdi) + "\tprivate\t" +
         std::to_string(m.private_bytes) + "\tthreads\t" + std::to_string(m.threads);
}

std::string ProbeFaults(const CounterMoves& m) {
  std::string faults;
  auto fault = [&](bool bad, const char* what, long long during, long long left) {
    if (bad) {
      faults += std::string(faults.empty() ? "" : ", ") + what + " moved by " +
                std::to_string(during) + " and kept " + std::to_string(left);
    }
  };
  fault(m.windows < 1 || m.windows_left != 0, "windows", m.windows, m.windows_left);
  fault(m.handles < kProbeObjects || m.handles_left != 0, "kernel handles", m.handles,
        m.handles_left);
  fault(m.gdi != kProbeObjects || m.gdi_left != 0, "GDI objects", m.gdi, m.gdi_left);
  fault(m.private_bytes < kProbeBytes, "private memory", m.private_bytes, 0);
  fault(m.threads < 1, "threads", m.threads, 0);
  return faults;
}

}  // namespace hostkit
