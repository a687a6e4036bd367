#pragma once

#include <cstdint>
#include <string>

namespace hostile {

// What the process holds, counted the way Wine 8 can answer (its GetProcessHandleCount,
// GetGuiResources and PrivateUsage answer 0): kernel handles from the system's extended
// handle list (this process's entries), committed private memory from the VM counters
// (PagefileUsage), GDI objects from the PEB's GDI handle table, top-level windows by
// enumeration.
struct ResourceCounts {
  long handles = -1;
  uint64_t memoryBytes = 0;
  long gdiObjects = -1;
  long windows = -1;

  std::string Describe() const;
};

ResourceCounts CountResources();

// Makes a deliberate leak of each kind and says which counters failed to see it (empty when
// all did), so that a flat count can be trusted to mean "no leak".
std::string CheckCountersMove();

}  // namespace hostile
