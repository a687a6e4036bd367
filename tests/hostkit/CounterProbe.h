// The counters are trusted only after a deliberate leak of each kind moved them: kProbeObjects
// kernel handles (events) and GDI objects (brushes), one message-only window, one thread and
// kProbeBytes of written private memory, held while the counts are taken, then released.
#pragma once
#include <string>

namespace hostkit {

constexpr int kProbeObjects = 16;
constexpr long long kProbeBytes = 8 << 20;

struct CounterMoves {
  // While the leak was held, against before it.
  long long windows = 0, handles = 0, gdi = 0, private_bytes = 0, threads = 0;
  // Once it was released, against before it.
  long long windows_left = 0, handles_left = 0, gdi_left = 0;
};

CounterMoves ProbeCounters();
// "probe <TAB> windows <TAB> N <TAB> handles N gdi N private N threads N" (tab-separated).
std::string ProbeLine(const CounterMoves& moves);
// The counters that did not follow the leak (GDI objects: by exactly kProbeObjects, and back),
// with their moves; empty when every one did.
std::string ProbeFaults(const CounterMoves& moves);

}  // namespace hostkit
