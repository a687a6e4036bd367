#include "AtlApi.h"

#include <cwctype>

namespace {

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // GetProcAddress hands back a generic function pointer; the type is the export's own.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::wstring ClassFor(const std::wstring& dll) {
  std::wstring name = dll.substr(dll.find_last_of(L"\\/") == std::wstring::npos
                                     ? 0 : dll.find_last_of(L"\\/") + 1);
  std::wstring digits;
  for (size_t i = 3; i < name.size() && std::iswdigit(name[i]); ++i) digits += name[i];
  return L"AtlAxWin" + digits;
}

}  // namespace

AtlApi::AtlApi(const std::wstring& dll) : window_class_(ClassFor(dll)) {
  module_ = LoadLibraryW(dll.c_str());
  win_init = Export<WinInitFn>(module_, "AtlAxWinInit");
  attach_control = Export<AttachControlFn>(module_, "AtlAxAttachControl");
  get_control = Export<GetFromWindowFn>(module_, "AtlAxGetControl");
  get_host = Export<GetFromWindowFn>(module_, "AtlAxGetHost");
}

AtlApi::~AtlApi() {
  if (module_) FreeLibrary(module_);
}
