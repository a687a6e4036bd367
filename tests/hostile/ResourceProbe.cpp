#include "ResourceProbe.h"

#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace hostile {

namespace {

// SystemExtendedHandleInformation and its entries, which winternl.h leaves out.
constexpr int kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

struct HandleEntryEx {
  PVOID object;
  ULONG_PTR processId;
  ULONG_PTR handleValue;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG attributes;
  ULONG reserved;
};

struct HandleInfoEx {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntryEx handles[1];
};

// The PEB's GdiSharedHandleTable and the layout of its entries under Wine. A 32-bit process
// of a 64-bit Wine has the table in its 64-bit PEB, found through the 64-bit TEB whose
// address Wine keeps in the 32-bit TEB's GdiBatchCount.
constexpr size_t kPeb64GdiTableOffset = 0xF8;
constexpr size_t kPeb32GdiTableOffset = 0x94;
constexpr size_t kTeb32GdiBatchCountOffset = 0xF70;
constexpr size_t kTeb64PebOffset = 0x60;
constexpr size_t kGdiTableEntries = 0x10000;

struct GdiHandleEntry {
  UINT64 object;
  ULONG owner;
  USHORT unique;
  UCHAR type;
  UCHAR flags;
  UINT64 userPointer;
};

long CountHandles() {
  std::vector<unsigned char> buffer(1 << 16);
  for (int tries = 0; tries < 16; ++tries) {
    ULONG needed = 0;
    const NTSTATUS status = NtQuerySystemInformation(
        static_cast<SYSTEM_INFORMATION_CLASS>(kSystemExtendedHandleInformation), buffer.data(),
        static_cast<ULONG>(buffer.size()), &needed);
    if (status == kStatusInfoLengthMismatch) {
      buffer.resize(needed > buffer.size() ? needed + 4096 : buffer.size() * 2);
      continue;
    }
    if (status < 0) return -1;
    const auto* info = reinterpret_cast<const HandleInfoEx*>(buffer.data());
    const ULONG_PTR self = GetCurrentProcessId();
    long count = 0;
    for (ULONG_PTR k = 0; k < info->count; ++k) {
      if (info->handles[k].processId == self) ++count;
    }
    return count;
  }
  return -1;
}

uint64_t CountMemory() {
  VM_COUNTERS counters = {};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessVmCounters, &counters,
                                sizeof(counters), nullptr) < 0) {
    return 0;
  }
  return counters.PagefileUsage;
}

bool Readable(const void* address, size_t size) {
  MEMORY_BASIC_INFORMATION info;
  if (!address || VirtualQuery(address, &info, sizeof(info)) != sizeof(info)) return false;
  const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE;
  const auto* end = static_cast<const unsigned char*>(info.BaseAddress) + info.RegionSize;
  return info.State == MEM_COMMIT && (info.Protect & readable) &&
         static_cast<const unsigned char*>(address) + size <= end;
}

const GdiHandleEntry* GdiTable() {
  const auto* teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
  const auto* peb = reinterpret_cast<const unsigned char*>(
      reinterpret_cast<const TEB*>(teb)->ProcessEnvironmentBlock);
#ifdef _WIN64
  return *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPeb64GdiTableOffset);
#else
  const ULONG table32 = *reinterpret_cast<const ULONG*>(peb + kPeb32GdiTableOffset);
  if (table32) return reinterpret_cast<const GdiHandleEntry*>(static_cast<ULONG_PTR>(table32));
  const ULONG teb64 = *reinterpret_cast<const ULONG*>(teb + kTeb32GdiBatchCountOffset);
  const auto* teb64_peb = reinterpret_cast<const UINT64*>(static_cast<ULONG_PTR>(teb64) + kTeb64PebOffset);
  if (!teb64 || !Readable(teb64_peb, sizeof(UINT64)) || *teb64_peb > 0xFFFFFFFFull) return nullptr;
  const auto* table64 = reinterpret_cast<const UINT64*>(
      static_cast<ULONG_PTR>(*teb64_peb) + kPeb64GdiTableOffset);
  if (!Readable(table64, sizeof(UINT64)) || *table64 > 0xFFFFFFFFull) return nullptr;
  return reinterpret_cast<const GdiHandleEntry*>(static_cast<ULONG_PTR>(*table64));
#endif
}

long CountGdiObjects() {
  const GdiHandleEntry* table = GdiTable();
  if (!table || !Readable(table, sizeof(GdiHandleEntry) * kGdiTableEntries)) return -1;
  long count = 0;
  for (size_t k = 0; k < kGdiTableEntries; ++k) {
    if (table[k].type != 0) ++count;
  }
  return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) ++*reinterpret_cast<long*>(param);
  return TRUE;
}

long CountWindows() {
  long count = 0;
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace

std::string ResourceCounts::Describe() const {
  char text[160];
  std::snprintf(text, sizeof(text), "handles %ld, memory %llu KiB, GDI objects %ld, windows %ld",
                handles, static_cast<unsigned long long>(memoryBytes / 1024), gdiObjects,
                windows);
  return text;
}

ResourceCounts CountResources() {
  ResourceCounts c;
  c.handles = CountHandles();
  c.memoryBytes = CountMemory();
  c.gdiObjects = CountGdiObjects();
  c.windows = CountWindows();
  return c;
}

std::string CheckCountersMove() {
  constexpr int kObjects = 16;
  constexpr size_t kBytes = 8 * 1024 * 1024;
  const ResourceCounts before = CountResources();

  HANDLE events[kObjects];
  HBRUSH brushes[kObjects];
  for (int k = 0; k < kObjects; ++k) {
    events[k] = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    brushes[k] = CreateSolidBrush(RGB(k, 0, 0));
  }
  void* block = VirtualAlloc(nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  // Wine counts resident anonymous pages: a leak is memory written to, so write to it.
  if (block) std::memset(block, 0x5A, kBytes);
  HWND window = CreateWindowExW(0, L"STATIC", L"counter check", WS_POPUP, 0, 0, 10, 10,
                                nullptr, nullptr, nullptr, nullptr);
  const ResourceCounts during = CountResources();

  if (window) DestroyWindow(window);
  if (block) VirtualFree(block, 0, MEM_RELEASE);
  for (int k = 0; k < kObjects; ++k) {
    if (events[k]) CloseHandle(events[k]);
    if (brushes[k]) DeleteObject(brushes[k]);
  }
  const ResourceCounts after = CountResources();

  std::string failures;
  if (during.handles - before.handles < kObjects || after.handles != before.handles) {
    failures += "handles (" + std::to_string(before.handles) + ", " +
                std::to_string(during.handles) + ", " + std::to_string(after.handles) + ") ";
  }
  if (during.memoryBytes < before.memoryBytes + kBytes) {
    failures += "memory (" + std::to_string(before.memoryBytes) + ", " +
                std::to_string(during.memoryBytes) + ") ";
  }
  if (during.gdiObjects - before.gdiObjects < kObjects || after.gdiObjects != before.gdiObjects) {
    failures += "GDI objects (" + std::to_string(before.gdiObjects) + ", " +
                std::to_string(during.gdiObjects) + ", " + std::to_string(after.gdiObjects) +
                ") ";
  }
  if (during.windows - before.windows < 1 || after.windows != before.windows) {
    failures += "windows (" + std::to_string(before.windows) + ", " +
                std::to_string(during.windows) + ", " + std::to_string(after.windows) + ") ";
  }
  return failures;
}

}  // namespace hostile
