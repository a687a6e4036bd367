#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Diagnostics.h"

namespace pel::test {

// Keeps the diagnostic lines the core reports, from any thread, while it lives.
class DiagnosticCapture : public IDiagnosticSink {
 public:
  void Line(std::string_view text) override;

  std::vector<std::string> lines() const;
  // Lines that contain `part`.
  size_t Count(std::string_view part) const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  DiagnosticSinkScope scope_{*this};
};

}  // namespace pel::test
