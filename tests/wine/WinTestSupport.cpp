#include "WinTestSupport.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "com/ComPtr.h"

namespace pel::wintest {

std::wstring BinPath(const std::wstring& file) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir = self;
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + file;
}

int RunProgram(const std::wstring& commandLine) {
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    return -1;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

int Regsvr32(const std::wstring& dll, bool unregister) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return RunProgram(L"\"" + std::wstring(system) + L"\\regsvr32.exe\" /s " +
                    (unregister ? L"/u " : L"") + L"\"" + dll + L"\"");
}

std::optional<std::wstring> RegValue(HKEY root, const std::wstring& key,
                                     const std::wstring& name) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
  wchar_t data[1024] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  DWORD type = 0;
  const LONG r = RegQueryValueExW(k, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::wstring(data);
}

bool RegKeyExists(HKEY root, const std::wstring& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();

HMODULE Loaded(const std::wstring& dll) {
  static std::map<std::wstring, HMODULE> modules;
  HMODULE& m = modules[dll];
  if (!m) m = LoadLibraryW(dll.c_str());
  return m;
}

template <class Fn>
Fn Export(const std::wstring& dll, const char* name) {
  HMODULE m = Loaded(dll);
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

}  // namespace

HRESULT ClassFactoryFromDll(const std::wstring& dll, REFCLSID clsid, IClassFactory** out) {
  auto get = Export<GetClassObjectFn>(dll, "DllGetClassObject");
  if (!get) return E_FAIL;
  return get(clsid, IID_IClassFactory, reinterpret_cast<void**>(out));
}

HRESULT CreateFromDll(const std::wstring& dll, REFCLSID clsid, REFIID iid, void** out) {
  com::ComPtr<IClassFactory> factory;
  const HRESULT hr = ClassFactoryFromDll(dll, clsid, factory.Put());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, iid, out);
}

HRESULT CanUnloadNow(const std::wstring& dll) {
  auto can = Export<CanUnloadFn>(dll, "DllCanUnloadNow");
  return can ? can() : E_FAIL;
}

HRESULT PutProperty(IDispatch* dispatch, DISPID id, const VARIANT& value) {
  VARIANT arg = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&arg, &named, 1, 1};
  return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                          nullptr, nullptr, nullptr);
}

HRESULT GetProperty(IDispatch* dispatch, DISPID id, VARIANT* value) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value,
                          nullptr, nullptr);
}

HRESULT CallMethod(IDispatch* dispatch, DISPID id, std::vector<VARIANT> args, VARIANT* result) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                       static_cast<UINT>(reversed.size()), 0};
  return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                          nullptr, nullptr);
}

VARIANT TextVariant(const wchar_t* text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(text);
  return v;
}

VARIANT LongVariant(LONG value) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANT BoolVariant(bool value) {
  VARIANT v;
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

std::wstring TempFile(const std::wstring& name) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"pel" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string out;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
  CloseHandle(file);
  return out;
}

void WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

namespace {

// Reads the template's words one at a time, bounded by the resource's size.
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  WORD Word() {
    WORD w = 0;
    Copy(&w, 2);
    return w;
  }
  DWORD Dword() {
    DWORD d = 0;
    Copy(&d, 4);
    return d;
  }
  short Short() { return static_cast<short>(Word()); }
  std::wstring Text() {
    std::wstring out;
    for (WORD c = Word(); ok_ && c != 0; c = Word()) out += static_cast<wchar_t>(c);
    return out;
  }
  // A name that is an ordinal (0xFFFF, n) or a text.
  std::wstring NameOrOrdinal() {
    const WORD first = Word();
    if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
    if (first == 0) return {};
    return static_cast<wchar_t>(first) + Text();
  }
  void Skip(size_t n) {
    if (at_ + n > size_) {
      ok_ = false;
      at_ = size_;
    } else {
      at_ += n;
    }
  }
  void AlignDword() { Skip((4 - at_ % 4) % 4); }

 private:
  void Copy(void* into, size_t n) {
    if (at_ + n > size_) {
      ok_ = false;
      return;
    }
    std::memcpy(into, data_ + at_, n);
    at_ += n;
  }
  const BYTE* data_;
  size_t size_;
  size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace

std::optional<DialogTemplate> LoadDialogTemplate(HMODULE module, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
  if (!found) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* data = static_cast<const BYTE*>(LockResource(loaded));
  if (!data) return std::nullopt;
  TemplateReader r(data, SizeofResource(module, found));
  DialogTemplate d;
  d.style = r.Dword();
  r.Dword();  // extended style
  const WORD count = r.Word();
  d.x = r.Short();
  d.y = r.Short();
  d.cx = r.Short();
  d.cy = r.Short();
  r.NameOrOrdinal();  // menu
  r.NameOrOrdinal();  // class
  d.caption = r.Text();
  if (d.style & DS_SETFONT) {
    d.pointSize = r.Word();
    d.font = r.Text();
  }
  for (WORD k = 0; k < count && r.ok(); ++k) {
    r.AlignDword();
    DialogItem item;
    item.style = r.Dword();
    r.Dword();  // extended style
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = r.Word();
    item.className = r.NameOrOrdinal();
    item.text = r.NameOrOrdinal();
    r.Skip(r.Word());  // creation data
    d.items.push_back(item);
  }
  if (!r.ok()) return std::nullopt;
  return d;
}

}  // namespace pel::wintest
