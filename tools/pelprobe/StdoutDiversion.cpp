#include "pelprobe/StdoutDiversion.h"

#include <cstdio>

#include "pelprobe/StdStreams.h"

namespace pel::probe {

using namespace stdstreams;

StdoutDiversion::StdoutDiversion() {
  std::fflush(stdout);
  saved_ = Dup(kStdout);
  if (saved_ >= 0 && Dup2(kStderr, kStdout) < 0) {
    Close(saved_);
    saved_ = -1;
  }
}

StdoutDiversion::~StdoutDiversion() {
  if (saved_ < 0) return;
  std::fflush(stdout);
  Dup2(saved_, kStdout);
  Close(saved_);
}

}  // namespace pel::probe
