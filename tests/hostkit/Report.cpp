#include "Report.h"

#include <fcntl.h>
#include <io.h>

#include "Text.h"

namespace hostkit {

Report::Report(const std::string& utf8Path) {
  if (utf8Path.empty()) {
    _setmode(_fileno(stdout), _O_BINARY);
    file_ = stdout;
    return;
  }
  file_ = _wfopen(Wide(utf8Path).c_str(), L"wb");
  owned_ = true;
}

Report::~Report() {
  if (owned_ && file_) std::fclose(file_);
}

void Report::Line(const std::string& text) {
  if (!file_) return;
  std::fputs(text.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace hostkit
