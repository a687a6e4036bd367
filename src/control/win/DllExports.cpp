// The five exports of Pelioran.ocx (see Pelioran.def).

#include <windows.h>

// The DLL's assembly may include every room: it stays loaded while audio teardowns finish.
#include "audio/AudioTeardown.h"
#include "control/win/Identities.h"
#include "control/win/PelioranControl.h"
#include "control/win/PelioranPropPage.h"
#include "control/win/Registration.h"
#include "com/ClassFactory.h"
#include "com/Module.h"
#include "com/OleControl.h"
#include "trust/win/SchannelChannelFactory.h"

namespace pel {
void SendDiagnosticsToDebugger();  // DebugOutputSink.cpp
}  // namespace pel

namespace {

const pel::com::ClassEntry kClasses[] = {
    {&CLSID_Pelioran, pel::win::CreatePelioranControl},
    {&pel::win::kClsidPelioranPropPage, pel::win::CreatePelioranPropPage},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    pel::com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
    pel::SendDiagnosticsToDebugger();
    pel::UseSchannelForTls();
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    pel::com::UnregisterControlWindowClasses();
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return pel::com::GetClassObjectFromTable(kClasses, sizeof(kClasses) / sizeof(kClasses[0]),
                                           clsid, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return pel::com::ModuleInUse() || pel::AudioFinishersRunning() > 0 ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return pel::win::RegisterPelioran(); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return pel::win::UnregisterPelioran();
}

// regsvr32 /n /i:user registers for the current user alone; /u /n /i:user undoes it.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR command) {
  return pel::win::InstallPelioran(install != FALSE, command ? command : L"");
}
