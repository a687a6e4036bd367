#include "Module.h"

#include <cwchar>

namespace strict {

namespace {
HINSTANCE g_instance = nullptr;
LONG g_locks = 0;
}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE ModuleInstance() { return g_instance; }
void LockModule() { InterlockedIncrement(&g_locks); }
void UnlockModule() { InterlockedDecrement(&g_locks); }
bool ModuleInUse() { return InterlockedCompareExchange(&g_locks, 0, 0) != 0; }

std::wstring EnvText(const wchar_t* name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::wstring text(needed, L'\0');
  const DWORD n = GetEnvironmentVariableW(name, text.data(), needed);
  text.resize(n < needed ? n : 0);
  return text;
}

std::vector<int> EnvInts(const wchar_t* name) {
  const std::wstring text = EnvText(name);
  std::vector<int> out;
  const wchar_t* p = text.c_str();
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

}  // namespace strict
