#include "Registration.h"

#include <ole2.h>

namespace strict {

namespace {

class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }

  LSTATUS Create(HKEY parent, const std::wstring& path) {
    return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_WRITE | KEY_READ, nullptr, &key_, nullptr);
  }
  LSTATUS Open(HKEY parent, const std::wstring& path) {
    return RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key_);
  }
  LSTATUS SetText(const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring Text(const wchar_t* name) const {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
      return {};
    }
    return value;
  }

 private:
  HKEY key_ = nullptr;
};

std::wstring ClassKey(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  return std::wstring(L"CLSID\\") + text;
}

HRESULT Result(LSTATUS status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT RegisterClass(const ClassName& cls, const std::wstring& module) {
  const std::wstring key = ClassKey(*cls.clsid);
  const DWORD misc = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                     OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
  RegKey root;
  RegKey server;
  RegKey control;
  RegKey miscKey;
  RegKey miscContent;
  LSTATUS s = root.Create(HKEY_CLASSES_ROOT, key);
  if (s == ERROR_SUCCESS) s = root.SetText(nullptr, cls.name);
  if (s == ERROR_SUCCESS) s = server.Create(HKEY_CLASSES_ROOT, key + L"\\InprocServer32");
  if (s == ERROR_SUCCESS) s = server.SetText(nullptr, module);
  if (s == ERROR_SUCCESS) s = server.SetText(L"ThreadingModel", L"Apartment");
  if (s == ERROR_SUCCESS) s = control.Create(HKEY_CLASSES_ROOT, key + L"\\Control");
  if (s == ERROR_SUCCESS) s = miscKey.Create(HKEY_CLASSES_ROOT, key + L"\\MiscStatus");
  if (s == ERROR_SUCCESS) s = miscKey.SetText(nullptr, L"0");
  if (s == ERROR_SUCCESS) s = miscContent.Create(HKEY_CLASSES_ROOT, key + L"\\MiscStatus\\1");
  if (s == ERROR_SUCCESS) s = miscContent.SetText(nullptr, std::to_wstring(misc));
  return Result(s);
}

}  // namespace

HRESULT RegisterClasses(const std::vector<ClassName>& classes, const std::wstring& module) {
  for (const ClassName& cls : classes) {
    const HRESULT hr = RegisterClass(cls, module);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT UnregisterClasses(const std::vector<ClassName>& classes, const std::wstring& module) {
  HRESULT result = S_OK;
  for (const ClassName& cls : classes) {
    const std::wstring key = ClassKey(*cls.clsid);
    std::wstring server;
    {
      RegKey inproc;
      if (inproc.Open(HKEY_CLASSES_ROOT, key + L"\\InprocServer32") != ERROR_SUCCESS) continue;
      server = inproc.Text(nullptr);
    }
    if (lstrcmpiW(server.c_str(), module.c_str()) != 0) continue;
    const LSTATUS s = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) result = Result(s);
  }
  return result;
}

}  // namespace strict
