#include "ControlCheck.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdio>

#include "ComRef.h"

namespace pel::msicheck {
namespace {

const wchar_t kProgId[] = L"PELIORAN.PelioranCtrl.1";
const wchar_t kLibIdText[] = L"{DE2BA9C8-CF2E-41DF-8B64-441C516B64AE}";
const wchar_t* const kProperties[] = {
    L"strIpAddr", L"iHttpPort", L"strIpAddrProxy", L"iHttpPortProxy", L"iSvrID",
    L"strUserID", L"strUserPWD", L"iOperPaneCtls", L"bGroup", L"bTour",
    L"bPower", L"bLight", L"bAux1", L"bAux2"};
#ifdef _WIN64
const wchar_t kSysKind[] = L"win64";
#else
const wchar_t kSysKind[] = L"win32";
#endif

class Bstr {
 public:
  Bstr() = default;
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(s_); }
  BSTR* Put() { return &s_; }
  std::wstring Text() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

 private:
  BSTR s_ = nullptr;
};

class Library {
 public:
  explicit Library(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

class Checker {
 public:
  void Check(bool ok, const char* what, const std::wstring& detail = L"") {
    std::printf("%s %s %ls\n", ok ? "ok" : "FAIL", what, detail.c_str());
    all_ = all_ && ok;
  }
  bool All() const { return all_; }

 private:
  bool all_ = true;
};

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring UserClassValue(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t text[MAX_PATH * 2] = {};
  DWORD bytes = sizeof(text);
  const std::wstring path = L"Software\\Classes\\" + key;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text,
                   &bytes) != ERROR_SUCCESS) {
    return L"";
  }
  return text;
}

// The file that holds the object: its vtable lies in the module that made it.
std::wstring ModuleOf(IUnknown* object) {
  HMODULE module = nullptr;
  wchar_t path[MAX_PATH] = {};
  if (object && GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   *reinterpret_cast<LPCWSTR*>(object), &module)) {
    GetModuleFileNameW(module, path, MAX_PATH);
  }
  return path;
}

void CheckTypeInfo(Checker& check, IDispatch* control) {
  hostkit::ComRef<ITypeInfo> info;
  const HRESULT hr = control->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put());
  check.Check(hr == S_OK && info.Get(), "GetTypeInfo");
  if (!info.Get()) return;
  Bstr name;
  info->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr);
  check.Check(name.Text() == L"_DPelioran", "type name", name.Text());
  std::wstring members;
  bool all = true;
  for (MEMBERID id = 1; id <= 14; ++id) {
    Bstr member;
    info->GetDocumentation(id, member.Put(), nullptr, nullptr, nullptr);
    all = all && member.Text() == kProperties[id - 1];
    members += member.Text() + L" ";
  }
  check.Check(all, "properties 1..14", members);
  Bstr about;
  info->GetDocumentation(-552, about.Put(), nullptr, nullptr, nullptr);
  check.Check(about.Text() == L"AboutBox", "method -552", about.Text());
}

void CheckTypeLib(Checker& check, ITypeLib* lib, const char* what) {
  check.Check(lib != nullptr, what);
  if (!lib) return;
  TLIBATTR* attr = nullptr;
  if (FAILED(lib->GetLibAttr(&attr))) return;
  wchar_t id[40] = {};
  StringFromGUID2(attr->guid, id, 40);
  check.Check(std::wstring(id) == kLibIdText && attr->wMajorVerNum == 1 && attr->wMinorVerNum == 0,
              "type library identity", id);
  lib->ReleaseTLibAttr(attr);
}

void CheckMachine(Checker& check, const std::wstring& expected) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(kProgId, &clsid);
  check.Check(hr == S_OK, "CLSIDFromProgID");
  hostkit::ComRef<IDispatch> control;
  if (hr == S_OK) {
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.PutVoid());
  }
  check.Check(hr == S_OK && control.Get(), "CoCreateInstance");
  const std::wstring module = ModuleOf(control.Get());
  check.Check(SamePath(module, expected), "module", module);
  if (control.Get()) CheckTypeInfo(check, control.Get());

  GUID libId{};
  CLSIDFromString(kLibIdText, &libId);
  hostkit::ComRef<ITypeLib> lib;
  LoadRegTypeLib(libId, 1, 0, LOCALE_NEUTRAL, lib.Put());
  CheckTypeLib(check, lib.Get(), "LoadRegTypeLib");
  Bstr path;
  QueryPathOfRegTypeLib(libId, 1, 0, LOCALE_NEUTRAL, path.Put());
  check.Check(SamePath(path.Text(), expected), "type library path", path.Text());
}

void CheckUser(Checker& check, const std::wstring& expected) {
  const std::wstring clsidText = UserClassValue(std::wstring(kProgId) + L"\\CLSID");
  CLSID clsid{};
  check.Check(CLSIDFromString(clsidText.c_str(), &clsid) == S_OK, "ProgID's CLSID", clsidText);
  const std::wstring server = UserClassValue(L"CLSID\\" + clsidText + L"\\InprocServer32");
  check.Check(SamePath(server, expected), "InprocServer32", server);
  check.Check(UserClassValue(L"CLSID\\" + clsidText + L"\\InprocServer32", L"ThreadingModel") ==
                  L"Apartment",
              "ThreadingModel");
  Library library(server);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = library.Get() ? reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(
                                 GetProcAddress(library.Get(), "DllGetClassObject")))
                           : nullptr;
  hostkit::ComRef<IClassFactory> factory;
  if (get) get(clsid, IID_IClassFactory, factory.PutVoid());
  hostkit::ComRef<IDispatch> control;
  if (factory.Get()) factory->CreateInstance(nullptr, IID_IDispatch, control.PutVoid());
  check.Check(control.Get() != nullptr, "created by the user's class entry");
  const std::wstring module = ModuleOf(control.Get());
  check.Check(SamePath(module, expected), "module", module);
  if (control.Get()) CheckTypeInfo(check, control.Get());

  const std::wstring libPath =
      UserClassValue(L"TypeLib\\" + std::wstring(kLibIdText) + L"\\1.0\\0\\" + kSysKind);
  check.Check(SamePath(libPath, expected), "type library path", libPath);
  hostkit::ComRef<ITypeLib> lib;
  LoadTypeLibEx(libPath.c_str(), REGKIND_NONE, lib.Put());
  CheckTypeLib(check, lib.Get(), "LoadTypeLibEx");
}

}  // namespace

bool CheckControl(Classes classes, const std::wstring& expectedModule) {
  Checker check;
  if (classes == Classes::kMachine) {
    CheckMachine(check, expectedModule);
  } else {
    CheckUser(check, expectedModule);
  }
  return check.All();
}

}  // namespace pel::msicheck
