#include "pelprobe/StderrDiagnostics.h"

#include <cstdio>

namespace pel::probe {

void StderrDiagnostics::Line(std::string_view text) {
  if (text.find("Drop audio packet!") != std::string_view::npos) ++dropLines_;
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

}  // namespace pel::probe
