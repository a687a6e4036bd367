#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "ports/Diagnostics.h"

namespace pel::probe {

// While it lives, the core's diagnostic lines go to standard error (standard output holds the
// report alone), and the lines that report a dropped playback block are counted.
class StderrDiagnostics : public IDiagnosticSink {
 public:
  void Line(std::string_view text) override;
  uint64_t dropLines() const { return dropLines_.load(); }

 private:
  std::atomic<uint64_t> dropLines_{0};
  DiagnosticSinkScope scope_{*this};
};

}  // namespace pel::probe
