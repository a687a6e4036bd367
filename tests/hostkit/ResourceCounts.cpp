#include "ResourceCounts.h"

#include <winternl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "GdiTable.h"
#include "WindowFacts.h"

namespace hostkit {
namespace {

// The layouts of SystemExtendedHandleInformation (class 64), the same in both architectures
// up to the pointer width.
struct HandleEntry {
  void* object;
  ULONG_PTR process_id;
  ULONG_PTR handle_value;
  ULONG granted_access;
  USHORT creator_back_trace_index;
  USHORT object_type_index;
  ULONG handle_attributes;
  ULONG reserved;
};
struct HandleTable {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntry entries[1];
};
constexpr auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

BOOL CALLBACK AddChild(HWND window, LPARAM param) {
  reinterpret_cast<ResourceSnapshot*>(param)->windows[window] = ClassOf(window);
  return TRUE;
}

void AddTree(HWND window, ResourceSnapshot* snapshot) {
  snapshot->windows[window] = ClassOf(window);
  EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(snapshot));
}

BOOL CALLBACK AddIfOurs(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) AddTree(window, reinterpret_cast<ResourceSnapshot*>(param));
  return TRUE;
}

void CountWindows(ResourceSnapshot* snapshot) {
  EnumWindows(AddIfOurs, reinterpret_cast<LPARAM>(snapshot));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    AddIfOurs(window, reinterpret_cast<LPARAM>(snapshot));
  }
}

void CountHandles(ResourceSnapshot* snapshot) {
  std::vector<unsigned char> buffer(1 << 16);
  LONG status = kInfoLengthMismatch;
  for (int tries = 0; tries < 8 && status == kInfoLengthMismatch; ++tries) {
    ULONG needed = 0;
    status = NtQuerySystemInformation(kSystemExtendedHandleInformation, buffer.data(),
                   static_cast<ULONG>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch)
      buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
  }
  if (status < 0) return;
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  const ULONG_PTR self = GetCurrentProcessId();
  for (ULONG_PTR i = 0; i < table->count; ++i) {
    const HandleEntry& entry = table->entries[i];
    if (entry.process_id == self) snapshot->handles[entry.handle_value] = entry.object_type_index;
  }
  snapshot->handles_ok = true;
}

void CountGdi(ResourceSnapshot* snapshot) {
  const GdiEntry* table = GdiTable();
  if (!table) return;
  for (unsigned i = 0; i < kGdiEntries; ++i) {
    if (table[i].type) snapshot->gdi[i] = table[i].type;
  }
  snapshot->gdi_ok = true;
}

void CountMemory(ResourceSnapshot* snapshot) {
  VM_COUNTERS counters{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessVmCounters, &counters,
                                sizeof counters, nullptr) >= 0) {
    snapshot->private_bytes = static_cast<long long>(counters.PagefileUsage);
  }
}

void CountThreads(ResourceSnapshot* snapshot) {
  HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (all == INVALID_HANDLE_VALUE) return;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  long count = 0;
  for (BOOL more = Thread32First(all, &entry); more; more = Thread32Next(all, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(all);
  snapshot->threads = count;
}

}  // namespace

ResourceSnapshot TakeSnapshot() {
  ResourceSnapshot snapshot;
  CountWindows(&snapshot);
  CountHandles(&snapshot);
  CountGdi(&snapshot);
  CountMemory(&snapshot);
  CountThreads(&snapshot);
  return snapshot;
}

ResourceTotals Totals(const ResourceSnapshot& snapshot) {
  auto count = [](bool ok, size_t n) { return ok ? static_cast<long long>(n) : -1; };
  ResourceTotals totals;
  totals.windows = count(true, snapshot.windows.size());
  totals.handles = count(snapshot.handles_ok, snapshot.handles.size());
  totals.gdi = count(snapshot.gdi_ok, snapshot.gdi.size());
  totals.private_bytes = snapshot.private_bytes;
  totals.threads = snapshot.threads;
  return totals;
}

std::string CountsText(const ResourceTotals& t) {
  return "windows\t" + std::to_string(t.windows) + "\thandles\t" + std::to_string(t.handles) +
         "\tgdi\t" + std::to_string(t.gdi) + "\tprivate\t" + std::to_string(t.private_bytes) +
         "\tthreads\t" + std::to_string(t.threads);
}

std::string CountsText(const ResourceSnapshot& snapshot) { return CountsText(Totals(snapshot)); }

}  // namespace hostkit
