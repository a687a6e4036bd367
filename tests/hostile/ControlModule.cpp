#include "ControlModule.h"

namespace hostile {

namespace {
using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();
}  // namespace

ControlModule::~ControlModule() {
  factory_.Reset();
  if (module_) FreeLibrary(module_);
}

std::string ControlModule::Load(const std::wstring& path, REFCLSID clsid) {
  module_ = LoadLibraryW(path.c_str());
  if (!module_) return "LoadLibrary failed, error " + std::to_string(GetLastError());
  auto get_class_object = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
  canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
  if (!get_class_object || !canUnloadNow_) return "DllGetClassObject or DllCanUnloadNow missing";
  const HRESULT hr = get_class_object(clsid, IID_IClassFactory, factory_.PutVoid());
  if (FAILED(hr)) return "DllGetClassObject failed, " + std::to_string(hr);
  return {};
}

HRESULT ControlModule::Create(hostkit::ComRef<IUnknown>& out) {
  if (!factory_) return E_UNEXPECTED;
  return factory_->CreateInstance(nullptr, IID_IUnknown, out.PutVoid());
}

HRESULT ControlModule::ReleaseAndAskUnload() {
  factory_.Reset();
  return canUnloadNow_ ? canUnloadNow_() : E_UNEXPECTED;
}

}  // namespace hostile
