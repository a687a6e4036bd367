#pragma once

namespace pel::probe {

// While it lives, what the process writes to its standard output goes to standard error. The
// core writes its diagnostic lines to standard output; the probe's own report must be the only
// thing there (a JSON reader takes all of it).
class StdoutDiversion {
 public:
  StdoutDiversion();
  ~StdoutDiversion();
  StdoutDiversion(const StdoutDiversion&) = delete;
  StdoutDiversion& operator=(const StdoutDiversion&) = delete;

 private:
  int saved_ = -1;  // the original standard output, -1 when it could not be diverted
};

}  // namespace pel::probe
