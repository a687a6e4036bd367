#include "pelprobe/StdoutCapture.h"

#ifdef _WIN32
#include <io.h>
#define PEL_DUP _dup
#define PEL_DUP2 _dup2
#define PEL_CLOSE _close
#define PEL_FILENO _fileno
#else
#include <unistd.h>
#define PEL_DUP dup
#define PEL_DUP2 dup2
#define PEL_CLOSE close
#define PEL_FILENO fileno
#endif

namespace pel::probe {

namespace {
constexpr int kStdout = 1;
constexpr int kStderr = 2;
}  // namespace

StdoutCapture::StdoutCapture() {
  std::fflush(stdout);
  saved_ = PEL_DUP(kStdout);
  if (saved_ < 0) return;
  file_ = std::tmpfile();
  const int target = file_ != nullptr ? PEL_FILENO(file_) : kStderr;
  if (PEL_DUP2(target, kStdout) < 0) {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    PEL_CLOSE(saved_);
    saved_ = -1;
  }
}

StdoutCapture::~StdoutCapture() {
  Restore();
  if (file_ != nullptr) std::fclose(file_);
}

void StdoutCapture::Restore() {
  if (saved_ < 0) return;
  std::fflush(stdout);
  PEL_DUP2(saved_, kStdout);
  PEL_CLOSE(saved_);
  saved_ = -1;
}

std::string StdoutCapture::Text() {
  Restore();
  std::string text;
  if (file_ == nullptr) return text;
  std::rewind(file_);
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, n);
  std::fclose(file_);
  file_ = nullptr;
  return text;
}

}  // namespace pel::probe
