// What this process holds, counted the ways that work under Wine 8 (where GetGuiResources
// and GetProcessHandleCount answer 0 and PrivateUsage stays 0): windows by enumeration
// (top-level, their descendants and message-only windows), kernel handles from the system's
// handle table, GDI objects from the process's GDI handle table (the PEB's
// GdiSharedHandleTable), private memory from the process's VM counters, threads from a
// Toolhelp snapshot.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

namespace hostkit {

struct ResourceSnapshot {
  std::map<HWND, std::wstring> windows;        // window -> class name
  std::map<std::uintptr_t, unsigned> handles;  // handle value -> object type index
  std::map<unsigned, unsigned> gdi;            // table index -> object type
  bool handles_ok = false;
  bool gdi_ok = false;
  long long private_bytes = -1;  // the process's pagefile-backed (private) memory
  long threads = -1;
};

ResourceSnapshot TakeSnapshot();

// The snapshot's counts (-1 where one could not be taken).
struct ResourceTotals {
  long long windows = -1;
  long long handles = -1;
  long long gdi = -1;
  long long private_bytes = -1;
  long long threads = -1;
};
ResourceTotals Totals(const ResourceSnapshot& snapshot);

// "windows N handles N gdi N private N threads N" (-1 where a count could not be taken).
std::string CountsText(const ResourceTotals& totals);
std::string CountsText(const ResourceSnapshot& snapshot);

}  // namespace hostkit
