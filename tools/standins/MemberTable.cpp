#include "MemberTable.h"

#include <windows.h>

#include <cwchar>

namespace pel::standin {

std::vector<int> EnvInts(const wchar_t* name) {
  wchar_t text[256];
  const DWORD n = GetEnvironmentVariableW(name, text, 256);
  std::vector<int> out;
  if (n == 0 || n >= 256) return out;
  const wchar_t* p = text;
  while (*p) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(p, &end, 10);
    if (end == p) break;
    out.push_back(static_cast<int>(value));
    p = *end == L',' ? end + 1 : end;
  }
  return out;
}

int EnvInt(const wchar_t* name, int def) {
  const std::vector<int> values = EnvInts(name);
  return values.empty() ? def : values[0];
}

}  // namespace pel::standin
