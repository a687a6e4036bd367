#include "CallLog.h"

#include "com/BStr.h"
#include "comtext/VariantText.h"

namespace pel::standin {

std::string LogText(const VARIANT& value) { return com::VariantText(value); }

std::string LogText(const std::vector<VARIANT*>& args) {
  std::string out;
  for (size_t k = 0; k < args.size(); ++k) {
    if (k > 0) out += ",";
    out += com::VariantText(*args[k]);
  }
  return out;
}

void LogCall(const char* component, DISPID id, const std::wstring& name, const char* kind,
             const std::string& value) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"PEL_STANDIN_LOG", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  const std::string line = std::string(component) + "\t" + std::to_string(id) + "\t" +
                           com::AnsiFromWide(name) + "\t" + kind + "\t" + value + "\n";
  // Appends whole lines, so that several processes may share one log.
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace pel::standin
