// The exports of PelStrict.dll (see PelStrict.def): the three components' classes.
#include <windows.h>
#include <olectl.h>

#include <string>

#include "ClassFactory.h"
#include "ControlWindow.h"
#include "Module.h"
#include "Panel.h"
#include "Registration.h"
#include "StrictIds.h"
#include "Viewer.h"
#include "Voice.h"

namespace {

using namespace strict;

struct ServedClass {
  const CLSID* clsid;
  const wchar_t* name;
  ClassFactory* factory;
};

ClassFactory g_viewerFactory(CreateViewer);
ClassFactory g_panelFactory(CreatePanel);
ClassFactory g_voiceFactory(CreateVoice);

const ServedClass kClasses[] = {
    {&kClsidViewer, L"Pelioran strict component: video viewer", &g_viewerFactory},
    {&kClsidPanel, L"Pelioran strict component: serial/PTZ panel", &g_panelFactory},
    {&kClsidVoice, L"Pelioran strict component: voice component", &g_voiceFactory},
};

std::vector<ClassName> ClassNames() {
  std::vector<ClassName> names;
  for (const ServedClass& c : kClasses) names.push_back({c.clsid, c.name});
  return names;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

// These components take the real components' class IDs: they register only inside Wine,
// where the project's private prefix is, never on a Windows machine that may hold the real
// ones.
bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// PEL_STANDIN_ABSENT=voice plays a machine without the voice component.
bool PlaysAbsent(REFCLSID clsid) {
  return IsEqualCLSID(clsid, kClsidVoice) &&
         EnvText(L"PEL_STANDIN_ABSENT").find(L"voice") != std::wstring::npos;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    UnregisterControlWindowClass();
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (PlaysAbsent(clsid)) return CLASS_E_CLASSNOTAVAILABLE;
  for (const ServedClass& c : kClasses) {
    if (IsEqualCLSID(clsid, *c.clsid)) return c.factory->QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  if (!RunningUnderWine()) return SELFREG_E_CLASS;
  const std::wstring path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  return FAILED(RegisterClasses(ClassNames(), path)) ? SELFREG_E_CLASS : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return FAILED(UnregisterClasses(ClassNames(), ModulePath())) ? SELFREG_E_CLASS : S_OK;
}
