// Self-registration of Pelioran.ocx through regsvr32: every entry after registering, none
// after unregistering, and creation by the ProgID in between.

#include <windows.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>

#include "Pelioran_h.h"
#include "WinTestSupport.h"
#include "com/BStr.h"
#include "com/ClassRegistration.h"
#include "com/ComPtr.h"

namespace {

using pel::com::BStr;
using pel::com::ComPtr;
using pel::wintest::RegKeyExists;
using pel::wintest::RegValue;

const std::wstring kControl = L"CLSID\\{FE4F5263-11D5-4724-95BA-A978983B6369}";
const std::wstring kPage = L"CLSID\\{DDC012F8-A786-4584-856D-044BC1F49414}";
const std::wstring kProgId = L"PELIORAN.PelioranCtrl.1";
const std::wstring kTypeLib = L"TypeLib\\{DE2BA9C8-CF2E-41DF-8B64-441C516B64AE}";
const std::wstring kDispatchIface = L"Interface\\{BC322BD5-6359-47D4-9926-363FE6A11024}";
const std::wstring kEventIface = L"Interface\\{A222643E-744A-46F8-85FE-02883EC5C2E3}";
#ifdef _WIN64
const std::wstring kWordSize = L"win64";
#else
const std::wstring kWordSize = L"win32";
#endif

std::wstring Ocx() { return pel::wintest::BinPath(L"Pelioran.ocx"); }

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

class RegisteredPelioran : public testing::Test {
 protected:
  static void SetUpTestSuite() { registered_ = pel::wintest::Regsvr32(Ocx(), false); }
  static void TearDownTestSuite() { pel::wintest::Regsvr32(Ocx(), true); }
  static int registered_;
};
int RegisteredPelioran::registered_ = -1;

TEST_F(RegisteredPelioran, ControlClassEntries) {
  ASSERT_EQ(0, registered_);
  const HKEY cr = HKEY_CLASSES_ROOT;
  EXPECT_EQ(L"Pelioran Control", RegValue(cr, kControl).value_or(L"-"));
  EXPECT_EQ(Lower(Ocx()), Lower(RegValue(cr, kControl + L"\\InprocServer32").value_or(L"-")));
  EXPECT_EQ(L"Apartment",
            RegValue(cr, kControl + L"\\InprocServer32", L"ThreadingModel").value_or(L"-"));
  EXPECT_EQ(kProgId, RegValue(cr, kControl + L"\\ProgID").value_or(L"-"));
  EXPECT_TRUE(RegKeyExists(cr, kControl + L"\\Control"));
  EXPECT_FALSE(RegKeyExists(cr, kControl + L"\\Insertable"));
  // 0x00020191 in decimal, for every aspect and for the content aspect.
  EXPECT_EQ(L"131473", RegValue(cr, kControl + L"\\MiscStatus").value_or(L"-"));
  EXPECT_EQ(L"131473", RegValue(cr, kControl + L"\\MiscStatus\\1").value_or(L"-"));
  EXPECT_EQ(Lower(Ocx() + L", 1"),
            Lower(RegValue(cr, kControl + L"\\ToolboxBitmap32").value_or(L"-")));
  EXPECT_EQ(L"{DE2BA9C8-CF2E-41DF-8B64-441C516B64AE}",
            RegValue(cr, kControl + L"\\TypeLib").value_or(L"-"));
  EXPECT_EQ(L"1.0", RegValue(cr, kControl + L"\\Version").value_or(L"-"));

  EXPECT_EQ(L"Pelioran Control", RegValue(cr, kProgId).value_or(L"-"));
  EXPECT_EQ(L"{FE4F5263-11D5-4724-95BA-A978983B6369}",
            RegValue(cr, kProgId + L"\\CLSID").value_or(L"-"));
}

TEST_F(RegisteredPelioran, PropertyPageEntriesWithoutProgId) {
  ASSERT_EQ(0, registered_);
  const HKEY cr = HKEY_CLASSES_ROOT;
  EXPECT_EQ(L"Pelioran Property Page", RegValue(cr, kPage).value_or(L"-"));
  EXPECT_EQ(Lower(Ocx()), Lower(RegValue(cr, kPage + L"\\InprocServer32").value_or(L"-")));
  EXPECT_EQ(L"Apartment",
            RegValue(cr, kPage + L"\\InprocServer32", L"ThreadingModel").value_or(L"-"));
  EXPECT_FALSE(RegKeyExists(cr, kPage + L"\\ProgID"));
  EXPECT_FALSE(RegKeyExists(cr, L"PELIORAN.PelioranPropPage.1"));
}

TEST_F(RegisteredPelioran, TypeLibraryFromTheModulesOwnResource) {
  ASSERT_EQ(0, registered_);
  const HKEY cr = HKEY_CLASSES_ROOT;
  EXPECT_EQ(L"Pelioran ActiveX Control module", RegValue(cr, kTypeLib + L"\\1.0").value_or(L"-"));
  EXPECT_EQ(Lower(Ocx()),
            Lower(RegValue(cr, kTypeLib + L"\\1.0\\0\\" + kWordSize).value_or(L"-")));
  EXPECT_TRUE(RegKeyExists(cr, kTypeLib + L"\\1.0\\FLAGS"));
  EXPECT_TRUE(RegKeyExists(cr, kTypeLib + L"\\1.0\\HELPDIR"));
  EXPECT_EQ(L"_DPelioran", RegValue(cr, kDispatchIface).value_or(L"-"));
  EXPECT_EQ(L"_DPelioranEvents", RegValue(cr, kEventIface).value_or(L"-"));
}

TEST_F(RegisteredPelioran, CreatedByProgIdWithItsTypeInformation) {
  ASSERT_EQ(0, registered_);
  CLSID clsid;
  ASSERT_EQ(S_OK, CLSIDFromProgID(kProgId.c_str(), &clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_Pelioran, clsid));
  ComPtr<IDispatch> control;
  ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   control.PutVoid()));
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, control->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()));
  BStr name;
  ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr));
  EXPECT_EQ(L"_DPelioran", name.Wide());
  for (MEMBERID id = 1; id <= 14; ++id) {
    BStr member;
    EXPECT_EQ(S_OK, info->GetDocumentation(id, member.Put(), nullptr, nullptr, nullptr)) << id;
  }
  BStr about;
  ASSERT_EQ(S_OK, info->GetDocumentation(-552, about.Put(), nullptr, nullptr, nullptr));
  EXPECT_EQ(L"AboutBox", about.Wide());

  // The registered type name and status reach OLE's own helpers.
  LPOLESTR type = nullptr;
  ASSERT_EQ(S_OK, OleRegGetUserType(clsid, USERCLASSTYPE_FULL, &type));
  EXPECT_STREQ(L"Pelioran Control", type);
  CoTaskMemFree(type);
  DWORD status = 0;
  ASSERT_EQ(S_OK, OleRegGetMiscStatus(clsid, DVASPECT_CONTENT, &status));
  EXPECT_EQ(0x00020191u, status);
}

TEST(UnregisteredPelioran, EveryEntryIsGone) {
  ASSERT_EQ(0, pel::wintest::Regsvr32(Ocx(), false));
  ASSERT_TRUE(RegKeyExists(HKEY_CLASSES_ROOT, kControl));
  ASSERT_EQ(0, pel::wintest::Regsvr32(Ocx(), true));
  const HKEY cr = HKEY_CLASSES_ROOT;
  EXPECT_FALSE(RegKeyExists(cr, kControl));
  EXPECT_FALSE(RegKeyExists(cr, kPage));
  EXPECT_FALSE(RegKeyExists(cr, kProgId));
  EXPECT_FALSE(RegKeyExists(cr, kTypeLib + L"\\1.0\\0\\" + kWordSize));
  EXPECT_FALSE(RegKeyExists(cr, kDispatchIface));
  EXPECT_FALSE(RegKeyExists(cr, kEventIface));
  CLSID clsid;
  EXPECT_NE(S_OK, CLSIDFromProgID(kProgId.c_str(), &clsid));
}

// DllInstall as regsvr32 /i:<command> calls it, straight from the module.
HRESULT DllInstallOf(const std::wstring& dll, BOOL install, const wchar_t* command) {
  HMODULE module = LoadLibraryW(dll.c_str());
  if (!module) return HRESULT_FROM_WIN32(GetLastError());
  using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
  auto call = reinterpret_cast<Install>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllInstall")));
  const HRESULT hr = call ? call(install, command) : E_NOTIMPL;
  FreeLibrary(module);
  return hr;
}

// The per-user registration itself is checked against the machine's by the installer test
// (tests/msi); here, that DllInstall knows only its one command.
TEST(DllInstall, UserIsTheOnlyCommand) {
  const std::wstring userControl = L"Software\\Classes\\" + kControl;
  EXPECT_EQ(E_INVALIDARG, DllInstallOf(Ocx(), TRUE, L"machine"));
  EXPECT_EQ(S_OK, DllInstallOf(Ocx(), TRUE, L""));
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, userControl));
  ASSERT_EQ(S_OK, DllInstallOf(Ocx(), TRUE, L"USER"));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, userControl));
  EXPECT_EQ(S_OK, DllInstallOf(Ocx(), FALSE, L"user"));
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, userControl));
}

TEST(SelfRegistrationSteps, TypeLibraryFailureStopsBeforeTheClasses) {
  bool classes = false;
  EXPECT_EQ(SELFREG_E_TYPELIB, pel::com::RunSelfRegistration(
                                   [] { return TYPE_E_REGISTRYACCESS; },
                                   [&] { classes = true; return S_OK; }));
  EXPECT_FALSE(classes);
}

TEST(SelfRegistrationSteps, ClassFailureAfterTheTypeLibrary) {
  int order = 0;
  int typelib_at = 0;
  int classes_at = 0;
  EXPECT_EQ(SELFREG_E_CLASS, pel::com::RunSelfRegistration(
                                 [&] { typelib_at = ++order; return S_OK; },
                                 [&] { classes_at = ++order; return E_ACCESSDENIED; }));
  EXPECT_EQ(1, typelib_at);
  EXPECT_EQ(2, classes_at);
  EXPECT_EQ(S_OK, pel::com::RunSelfRegistration([] { return S_OK; }, [] { return S_OK; }));
}

TEST(SelfRegistrationSteps, ClassEntriesOfAControlAndOfAPlainClass) {
  const CLSID clsid = CLSID_Pelioran;
  pel::com::ClassRegistration cls;
  cls.clsid = &clsid;
  cls.typeName = L"Thing";
  const auto plain = pel::com::ClassRegistryValues(cls, L"C:\\x.dll");
  ASSERT_EQ(3u, plain.size());
  EXPECT_EQ(L"Thing", plain[0].data);
  EXPECT_EQ(L"ThreadingModel", plain[2].name);
  EXPECT_EQ(1u, pel::com::ClassRegistryKeys(cls).size());

  cls.progId = L"A.B.1";
  cls.control = true;
  cls.miscStatus = 0x20191;
  cls.toolboxBitmap = 3;
  const auto control = pel::com::ClassRegistryValues(cls, L"C:\\x.dll");
  bool bitmap = false;
  for (const auto& v : control) {
    if (v.key.size() > 16 && v.key.substr(v.key.size() - 16) == L"\\ToolboxBitmap32") {
      bitmap = v.data == L"C:\\x.dll, 3";
    }
  }
  EXPECT_TRUE(bitmap);
  EXPECT_EQ(2u, pel::com::ClassRegistryKeys(cls).size());
}

}  // namespace
