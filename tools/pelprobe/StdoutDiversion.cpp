#include "pelprobe/StdoutDiversion.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define PEL_DUP _dup
#define PEL_DUP2 _dup2
#define PEL_CLOSE _close
#else
#include <unistd.h>
#define PEL_DUP dup
#define PEL_DUP2 dup2
#define PEL_CLOSE close
#endif

namespace pel::probe {

namespace {
constexpr int kStdout = 1;
constexpr int kStderr = 2;
}  // namespace

StdoutDiversion::StdoutDiversion() {
  std::fflush(stdout);
  saved_ = PEL_DUP(kStdout);
  if (saved_ >= 0 && PEL_DUP2(kStderr, kStdout) < 0) {
    PEL_CLOSE(saved_);
    saved_ = -1;
  }
}

StdoutDiversion::~StdoutDiversion() {
  if (saved_ < 0) return;
  std::fflush(stdout);
  PEL_DUP2(saved_, kStdout);
  PEL_CLOSE(saved_);
}

}  // namespace pel::probe
