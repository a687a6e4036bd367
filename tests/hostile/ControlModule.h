#pragma once

#include <windows.h>
#include <unknwn.h>

#include <string>

#include "ComRef.h"

namespace hostile {

// The control's DLL, loaded by path and asked for its class object directly, as a container
// that ships its own copy would: no registration is read.
class ControlModule {
 public:
  ControlModule() = default;
  ControlModule(const ControlModule&) = delete;
  ControlModule& operator=(const ControlModule&) = delete;
  ~ControlModule();

  // Empty on success, else what went wrong.
  std::string Load(const std::wstring& path, REFCLSID clsid);
  HRESULT Create(hostkit::ComRef<IUnknown>& out);
  // Lets the class object go, then asks DllCanUnloadNow: S_OK once every object the module
  // made is gone. Create fails afterwards.
  HRESULT ReleaseAndAskUnload();

 private:
  HMODULE module_ = nullptr;
  hostkit::ComRef<IClassFactory> factory_;
  HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
};

}  // namespace hostile
