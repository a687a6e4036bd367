#include "StrictLog.h"

#include <cstdio>

#include "Module.h"
#include "Text.h"

namespace strict {

namespace {

// The stand-ins write their log in the ANSI code page: so does this family, line for line.
std::string Ansi(const wchar_t* text, size_t length) {
  if (!text || length == 0) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), out.data(), n, nullptr,
                      nullptr);
  return out;
}

struct LogFile {
  explicit LogFile(HANDLE h) : handle(h) {}
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  ~LogFile() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  HANDLE handle;
};

std::string ByteCount(SAFEARRAY* array) {
  LONG low = 0;
  LONG high = -1;
  if (array) {
    SafeArrayGetLBound(array, 1, &low);
    SafeArrayGetUBound(array, 1, &high);
  }
  return "<" + std::to_string(high - low + 1) + " bytes>";
}

}  // namespace

std::string ValueText(const VARIANT& value) {
  const VARIANT* v = &value;
  if (V_VT(v) == (VT_VARIANT | VT_BYREF)) v = V_VARIANTREF(v);
  if (!v) return "";
  switch (V_VT(v)) {
    case VT_EMPTY: return "";
    case VT_BOOL: return V_BOOL(v) ? "TRUE" : "FALSE";
    case VT_I2: return std::to_string(V_I2(v));
    case VT_I4: return std::to_string(V_I4(v));
    case VT_INT: return std::to_string(V_INT(v));
    case VT_UI1: return std::to_string(V_UI1(v));
    case VT_R8: {
      char text[64];
      std::snprintf(text, sizeof(text), "%g", V_R8(v));
      return text;
    }
    case VT_BSTR: return hostkit::Escaped(Ansi(V_BSTR(v), SysStringLen(V_BSTR(v))));
    case VT_ARRAY | VT_UI1: return ByteCount(V_ARRAY(v));
    default: return "<vt " + std::to_string(V_VT(v)) + ">";
  }
}

std::string ArgsText(const std::vector<VARIANT*>& args) {
  std::string out;
  for (size_t k = 0; k < args.size(); ++k) out += (k ? "," : "") + ValueText(*args[k]);
  return out;
}

std::string VarTypesText(const std::vector<VARIANT*>& args) {
  std::string out;
  for (size_t k = 0; k < args.size(); ++k) {
    out += (k ? "," : "") + std::to_string(V_VT(args[k]));
  }
  return out;
}

std::string HresultText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

std::string RectText(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

void LogLine(const char* component, long id, const std::wstring& name, const char* kind,
             const std::string& value, const std::string& vartypes) {
  const std::wstring path = EnvText(L"PEL_STANDIN_LOG");
  if (path.empty()) return;
  const std::string line = std::string(component) + "\t" + std::to_string(id) + "\t" +
                           Ansi(name.c_str(), name.size()) + "\t" + kind + "\t" + value + "\t" +
                           vartypes + "\n";
  // Whole lines appended at the end, so that several processes may share one log.
  const LogFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file.handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace strict
