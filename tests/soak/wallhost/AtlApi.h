// Wine's ATL control hosting, reached the way an application linked to one of the ATL DLLs
// reaches it: the DLL loaded by name and its AtlAx* exports looked up.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <string>

class AtlApi {
 public:
  using WinInitFn = BOOL(WINAPI*)();
  using AttachControlFn = HRESULT(WINAPI*)(IUnknown* control, HWND window, IUnknown** container);
  using GetFromWindowFn = HRESULT(WINAPI*)(HWND window, IUnknown** out);

  explicit AtlApi(const std::wstring& dll);
  AtlApi(const AtlApi&) = delete;
  AtlApi& operator=(const AtlApi&) = delete;
  ~AtlApi();

  // Every export the hosting needs was found.
  bool Complete() const { return win_init && attach_control && get_control && get_host; }
  // The host window class AtlAxWinInit registers: "AtlAxWin" for atl.dll, "AtlAxWin<NN>" for
  // atl<NN>.dll.
  const std::wstring& WindowClass() const { return window_class_; }

  WinInitFn win_init = nullptr;
  AttachControlFn attach_control = nullptr;
  GetFromWindowFn get_control = nullptr;
  GetFromWindowFn get_host = nullptr;

 private:
  HMODULE module_ = nullptr;
  std::wstring window_class_;
};
