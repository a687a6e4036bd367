// The exports of PelStandins.dll (see PelStandins.def): the three stand-in classes.

#include <windows.h>
#include <olectl.h>

#include <string>

#include "StandinIds.h"
#include "UartStandin.h"
#include "ViewerStandin.h"
#include "VoiceStandin.h"
#include "com/ClassFactory.h"
#include "com/ClassRegistration.h"
#include "com/Module.h"
#include "com/OleControl.h"

namespace {

using namespace pel;

const com::ClassEntry kClasses[] = {
    {&standin::kClsidViewer, standin::CreateViewerStandin},
    {&standin::kClsidUart, standin::CreateUartStandin},
    {&standin::kClsidVoice, standin::CreateVoiceStandin},
};

std::vector<com::ClassRegistration> StandinClasses() {
  const struct {
    const CLSID* clsid;
    const wchar_t* name;
  } kNames[] = {
      {&standin::kClsidViewer, L"Pelioran stand-in: video viewer"},
      {&standin::kClsidUart, L"Pelioran stand-in: serial/PTZ panel"},
      {&standin::kClsidVoice, L"Pelioran stand-in: voice component"},
  };
  std::vector<com::ClassRegistration> classes;
  for (const auto& n : kNames) {
    com::ClassRegistration cls;
    cls.clsid = n.clsid;
    cls.typeName = n.name;
    cls.control = true;
    cls.miscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                     OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    classes.push_back(cls);
  }
  return classes;
}

// The stand-ins take the real components' class IDs: they register only inside Wine, where
// the project's private prefix is, never on a Windows machine that may hold the real ones.
bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    com::UnregisterControlWindowClasses();
  }
  return TRUE;
}

// PEL_STANDIN_ABSENT=voice plays a machine where the voice component is not installed: its
// class is not served, as when it was never registered.
bool PlaysAbsent(REFCLSID clsid) {
  wchar_t absent[64] = {};
  const DWORD n = GetEnvironmentVariableW(L"PEL_STANDIN_ABSENT", absent, 64);
  return n > 0 && n < 64 && IsEqualCLSID(clsid, standin::kClsidVoice) &&
         std::wstring(absent).find(L"voice") != std::wstring::npos;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (PlaysAbsent(clsid)) {
    if (out) *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return com::GetClassObjectFromTable(kClasses, sizeof(kClasses) / sizeof(kClasses[0]), clsid,
                                      iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return com::ModuleInUse() ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  if (!RunningUnderWine()) return SELFREG_E_CLASS;
  const HRESULT hr = com::RegisterClasses(StandinClasses(), com::ModulePath());
  return FAILED(hr) ? SELFREG_E_CLASS : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  const HRESULT hr = com::UnregisterClasses(StandinClasses());
  return FAILED(hr) ? SELFREG_E_CLASS : S_OK;
}
