#include "pelprobe/StdoutCapture.h"

#include "pelprobe/StdStreams.h"

namespace pel::probe {

using namespace stdstreams;

StdoutCapture::StdoutCapture() {
  std::fflush(stdout);
  saved_ = Dup(kStdout);
  if (saved_ < 0) return;
  file_ = std::tmpfile();
  const int target = file_ != nullptr ? FileNo(file_) : kStderr;
  if (Dup2(target, kStdout) < 0) {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    Close(saved_);
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
  Dup2(saved_, kStdout);
  Close(saved_);
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
