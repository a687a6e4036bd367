#include "Report.h"

namespace pel::host {

Report::~Report() {
  if (file_) std::fclose(file_);
}

bool Report::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void Report::Line(const std::string& text) {
  std::FILE* to = file_ ? file_ : stdout;
  std::fputs(text.c_str(), to);
  std::fputc('\n', to);
  std::fflush(to);
}

}  // namespace pel::host
