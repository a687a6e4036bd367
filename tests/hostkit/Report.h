// A harness's report: one tab-separated line per fact, flushed at once so that a crash or a
// kill still leaves what was seen before it. Lines end in a bare line feed.
#pragma once
#include <cstdio>
#include <string>

namespace hostkit {

class Report {
 public:
  // An empty path writes to standard output.
  explicit Report(const std::string& utf8Path);
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;
  ~Report();

  bool Ok() const { return file_ != nullptr; }
  void Line(const std::string& text);

 private:
  std::FILE* file_ = nullptr;
  bool owned_ = false;
};

}  // namespace hostkit
