#pragma once

#include <cstdio>
#include <string>

namespace pel::probe {

// While it lives, what the process writes to its standard output is kept in a temporary
// file. Text() ends the capture and gives what was written; the caller passes it on (the
// core's diagnostic lines must not mix with the probe's report on standard output).
class StdoutCapture {
 public:
  StdoutCapture();
  ~StdoutCapture();
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;

  // False when no temporary file could be made: the output went to standard error instead.
  bool capturing() const { return file_ != nullptr; }
  // Restores standard output and answers what was captured (empty when not capturing).
  std::string Text();

 private:
  void Restore();

  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

}  // namespace pel::probe
