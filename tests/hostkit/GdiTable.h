// The process's GDI handle table as Wine keeps it: 0x10000 entries of 24 bytes in both
// architectures, an entry in use where its type is not 0, found at index LOWORD(handle).
#pragma once
#include <cstdint>

namespace hostkit {

struct GdiEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;  // the handle's high word, type and generation
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t user_pointer;
};
static_assert(sizeof(GdiEntry) == 24, "GDI handle table entry");
constexpr unsigned kGdiEntries = 0x10000;

// The table gdi32 itself reads, or null. A 32-bit process of a 64-bit Wine (WoW64) has it in
// its 64-bit PEB only (GdiSharedHandleTable at 0xF8), reached through the 64-bit TEB whose
// address Wine keeps in the 32-bit TEB's GdiBatchCount (0xF70); that comes FIRST, as in
// Wine's gdi32: the 32-bit PEB's own field (0x94) counts only when there is no 64-bit TEB.
const GdiEntry* GdiTable();

}  // namespace hostkit
