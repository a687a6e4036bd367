#include "control/win/Registration.h"

#include "control/win/Identities.h"
#include "control/win/com/Module.h"
#include "res/PelioranRes.h"
#include "res/StringTable.h"

namespace pel::win {

std::vector<com::ClassRegistration> PelioranClasses() {
  com::ClassRegistration control;
  control.clsid = &CLSID_Pelioran;
  control.typeName = com::LoadModuleString(IDS_PELIORAN);
  control.progId = kControlProgId;
  control.control = true;
  control.miscStatus = kControlMiscStatus;
  control.toolboxBitmap = IDB_PELIORAN;
  control.typeLib = &LIBID_PELIORANLib;
  control.version = std::to_wstring(kTypeLibMajor) + L"." + std::to_wstring(kTypeLibMinor);

  com::ClassRegistration page;
  page.clsid = &kClsidPelioranPropPage;
  page.typeName = com::LoadModuleString(IDS_PELIORAN_PPG);
  return {control, page};
}

HRESULT RegisterPelioran() {
  const std::wstring path = com::ModulePath();
  return com::RunSelfRegistration(
      [&] { return com::RegisterModuleTypeLib(path); },
      [&] { return com::RegisterClasses(PelioranClasses(), path); });
}

HRESULT UnregisterPelioran() {
  return com::RunSelfRegistration(
      [] { return com::UnregisterModuleTypeLib(LIBID_PELIORANLib, kTypeLibMajor, kTypeLibMinor); },
      [] { return com::UnregisterClasses(PelioranClasses()); });
}

}  // namespace pel::win
