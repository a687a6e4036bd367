#include "support/DiagnosticCapture.h"

namespace pel::test {

void DiagnosticCapture::Line(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.emplace_back(text);
}

std::vector<std::string> DiagnosticCapture::lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

size_t DiagnosticCapture::Count(std::string_view part) const {
  size_t count = 0;
  for (const std::string& line : lines()) {
    if (line.find(part) != std::string::npos) ++count;
  }
  return count;
}

}  // namespace pel::test
