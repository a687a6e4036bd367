#pragma once

#include <cstdio>
#include <string>

namespace pel::host {

// pelhost's report: one tab-separated line per fact, to standard output or a file, flushed at
// once so that a test reads it even when the host is ended.
class Report {
 public:
  Report() = default;
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;
  ~Report();

  // False when the file cannot be opened.
  bool Open(const std::string& path);
  void Line(const std::string& text);

 private:
  std::FILE* file_ = nullptr;
  bool binaryStdout_ = false;
};

}  // namespace pel::host
