#include "GdiTable.h"

#include <windows.h>

namespace hostkit {
namespace {

bool Readable(const void* address, size_t size) {
  MEMORY_BASIC_INFORMATION info;
  if (!address || VirtualQuery(address, &info, sizeof info) != sizeof info) return false;
  const DWORD readable =
      PAGE_READONLY | PAGE_READWRITE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE;
  const auto* end = static_cast<const unsigned char*>(info.BaseAddress) + info.RegionSize;
  return info.State == MEM_COMMIT && (info.Protect & readable) &&
         static_cast<const unsigned char*>(address) + size <= end;
}

template <typename T>
T Read(std::uintptr_t address) {
  return *reinterpret_cast<const T*>(address);
}

// A 64-bit pointer that a 32-bit process can follow, or 0.
[[maybe_unused]] std::uintptr_t Near(std::uint64_t pointer) {
  return pointer <= UINTPTR_MAX ? static_cast<std::uintptr_t>(pointer) : 0;
}

std::uintptr_t TableAddress() {
  const auto teb = reinterpret_cast<std::uintptr_t>(NtCurrentTeb());
#ifdef _WIN64
  return Read<std::uintptr_t>(Read<std::uintptr_t>(teb + 0x60) + 0xF8);
#else
  if (const auto teb64 = Read<std::uint32_t>(teb + 0xF70)) {
    const std::uintptr_t peb64 = Near(Read<std::uint64_t>(teb64 + 0x60));
    if (!Readable(reinterpret_cast<const void*>(peb64 + 0xF8), 8)) return 0;
    return Near(Read<std::uint64_t>(peb64 + 0xF8));
  }
  return Read<std::uintptr_t>(Read<std::uintptr_t>(teb + 0x30) + 0x94);
#endif
}

}  // namespace

const GdiEntry* GdiTable() {
  const auto* table = reinterpret_cast<const GdiEntry*>(TableAddress());
  return Readable(table, sizeof(GdiEntry) * kGdiEntries) ? table : nullptr;
}

}  // namespace hostkit
