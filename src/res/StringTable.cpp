#include "res/StringTable.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace pel {

namespace {
struct Entry {
  int id;
  const char* text;
};

constexpr Entry kStrings[] = {
#define PEL_STRING(id, symbol, text) {id, text},
#include "res/strings.inc"
#undef PEL_STRING
};
}  // namespace

const char* LoadResString(int id) {
  for (const Entry& e : kStrings) {
    if (e.id == id) return e.text;
  }
  return "";
}

std::string FormatResString(int id, ...) {
  const char* format = LoadResString(id);
  va_list args;
  va_start(args, id);
  va_list probe;
  va_copy(probe, args);
  const int needed = std::vsnprintf(nullptr, 0, format, probe);
  va_end(probe);
  std::string out;
  if (needed > 0) {
    std::vector<char> area(static_cast<size_t>(needed) + 1);
    std::vsnprintf(area.data(), area.size(), format, args);
    out.assign(area.data(), static_cast<size_t>(needed));
  }
  va_end(args);
  return out;
}

}  // namespace pel
