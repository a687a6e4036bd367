// wine.hostkit: the resource counters follow a deliberate leak, and the GDI table read is the
// one gdi32 writes: each new brush's entry sits at its handle's index with its handle's high
// word. On x86 it names where the table was found; a reader that takes the 32-bit PEB's field
// first finds it there empty under WoW64 and is right only by falling through.
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "CounterProbe.h"
#include "GdiTable.h"

int main() {
  int failed = 0;
  const std::string faults = hostkit::ProbeFaults(hostkit::ProbeCounters());
  if (!faults.empty()) {
    std::printf("FAIL: the counters did not follow the leak: %s\n", faults.c_str());
    failed = 1;
  }
  const hostkit::GdiEntry* table = hostkit::GdiTable();
  HBRUSH brushes[hostkit::kProbeObjects];
  int matched = 0;
  for (HBRUSH& brush : brushes) {
    brush = CreateSolidBrush(RGB(9, 8, 7));
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    const hostkit::GdiEntry* entry = table ? &table[value & 0xFFFF] : nullptr;
    if (entry && entry->type && entry->unique == ((value >> 16) & 0xFFFF)) ++matched;
  }
  for (HBRUSH brush : brushes) DeleteObject(brush);
  if (matched != hostkit::kProbeObjects) {
    std::printf("FAIL: %d of %d brushes found in the GDI table at %p\n", matched,
                hostkit::kProbeObjects, static_cast<const void*>(table));
    failed = 1;
  }
#ifndef _WIN64
  const auto teb = reinterpret_cast<std::uintptr_t>(NtCurrentTeb());
  const auto peb = *reinterpret_cast<const std::uint32_t*>(teb + 0x30);
  std::printf("x86: 32-bit PEB field (0x94) %#lx, 64-bit TEB %#lx, table %p\n",
              static_cast<unsigned long>(*reinterpret_cast<const std::uint32_t*>(peb + 0x94)),
              static_cast<unsigned long>(*reinterpret_cast<const std::uint32_t*>(teb + 0xF70)),
              static_cast<const void*>(table));
#endif
  std::printf("%s: counters and GDI table, %d-bit\n", failed ? "FAIL" : "ok",
              static_cast<int>(sizeof(void*) * 8));
  return failed;
}
