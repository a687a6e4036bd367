#include "Report.h"

#include <fcntl.h>
#include <io.h>

namespace pel::host {

Report::~Report() {
  if (file_) std::fclose(file_);
}

bool Report::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void Report::Line(const std::string& text) {
  std::FILE* to = file_ ? file_ : stdout;
  // Lines end in a bare line feed, as the tests on the Linux side read them.
  if (!file_ && !binaryStdout_) {
    _setmode(_fileno(stdout), _O_BINARY);
    binaryStdout_ = true;
  }
  std::fputs(text.c_str(), to);
  std::fputc('\n', to);
  std::fflush(to);
}

}  // namespace pel::host
