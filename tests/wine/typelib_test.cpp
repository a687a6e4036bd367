// The type library embedded in Pelioran.ocx, read back through LoadTypeLib.

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Pelioran_h.h"
#include "WinTestSupport.h"
#include "com/BStr.h"
#include "com/ComPtr.h"

namespace {

using pel::com::BStr;
using pel::com::ComPtr;

struct Documentation {
  std::wstring name;
  std::wstring help;
  std::wstring helpFile;
};

Documentation Doc(ITypeInfo* info, MEMBERID id) {
  BStr name, help, file;
  DWORD context = 0;
  info->GetDocumentation(id, name.Put(), help.Put(), &context, file.Put());
  return {name.Wide(), help.Wide(), file.Wide()};
}

class PelioranTypeLib : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, LoadTypeLibEx(pel::wintest::BinPath(L"Pelioran.ocx").c_str(), REGKIND_NONE,
                                  lib_.Put()));
  }
  ComPtr<ITypeInfo> Info(REFGUID guid) {
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(S_OK, lib_->GetTypeInfoOfGuid(guid, info.Put()));
    return info;
  }
  ComPtr<ITypeLib> lib_;
};

TEST_F(PelioranTypeLib, LibraryIdentityHelpAndFlags) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(S_OK, lib_->GetLibAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_PELIORANLib));
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(0, attr->wMinorVerNum);
  EXPECT_TRUE(attr->wLibFlags & LIBFLAG_FCONTROL);
  lib_->ReleaseTLibAttr(attr);

  BStr name, help, file;
  DWORD context = 0;
  ASSERT_EQ(S_OK, lib_->GetDocumentation(-1, name.Put(), help.Put(), &context, file.Put()));
  EXPECT_EQ(L"PELIORANLib", name.Wide());
  EXPECT_EQ(L"Pelioran ActiveX Control module", help.Wide());
  EXPECT_EQ(L"Pelioran.hlp", file.Wide().substr(file.Wide().find_last_of(L"\\/") + 1));
  EXPECT_EQ(3u, lib_->GetTypeInfoCount());
}

TEST_F(PelioranTypeLib, DispatchInterfaceHoldsTheFourteenPropertiesInDispidOrder) {
  ComPtr<ITypeInfo> info = Info(DIID__DPelioran);
  ASSERT_TRUE(info);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
  EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FHIDDEN);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE);
  ASSERT_EQ(14, attr->cVars);
  const WORD funcs = attr->cFuncs;
  info->ReleaseTypeAttr(attr);

  const struct {
    const wchar_t* name;
    VARTYPE vt;
  } expected[14] = {
      {L"strIpAddr", VT_BSTR},   {L"iHttpPort", VT_I4},  {L"strIpAddrProxy", VT_BSTR},
      {L"iHttpPortProxy", VT_I4}, {L"iSvrID", VT_I4},    {L"strUserID", VT_BSTR},
      {L"strUserPWD", VT_BSTR},  {L"iOperPaneCtls", VT_I4}, {L"bGroup", VT_BOOL},
      {L"bTour", VT_BOOL},       {L"bPower", VT_BOOL},   {L"bLight", VT_BOOL},
      {L"bAux1", VT_BOOL},       {L"bAux2", VT_BOOL},
  };
  for (UINT k = 0; k < 14; ++k) {
    VARDESC* var = nullptr;
    ASSERT_EQ(S_OK, info->GetVarDesc(k, &var));
    EXPECT_EQ(static_cast<MEMBERID>(k + 1), var->memid) << k;
    EXPECT_EQ(VAR_DISPATCH, var->varkind) << k;
    EXPECT_EQ(expected[k].vt, var->elemdescVar.tdesc.vt) << k;
    EXPECT_EQ(expected[k].name, Doc(info.Get(), var->memid).name) << k;
    info->ReleaseVarDesc(var);
  }

  // AboutBox at the standard About-box DISPID, besides IDispatch's own methods.
  bool about = false;
  for (UINT k = 0; k < funcs; ++k) {
    FUNCDESC* func = nullptr;
    ASSERT_EQ(S_OK, info->GetFuncDesc(k, &func));
    if (func->memid == -552) {
      about = true;
      EXPECT_EQ(L"AboutBox", Doc(info.Get(), func->memid).name);
      EXPECT_EQ(INVOKE_FUNC, func->invkind);
      EXPECT_EQ(0, func->cParams);
      EXPECT_EQ(VT_VOID, func->elemdescFunc.tdesc.vt);
    }
    info->ReleaseFuncDesc(func);
  }
  EXPECT_TRUE(about);
  EXPECT_EQ(L"Dispatch interface for Pelioran Control", Doc(info.Get(), MEMBERID_NIL).help);
}

TEST_F(PelioranTypeLib, EventInterfaceHasNoEvents) {
  ComPtr<ITypeInfo> info = Info(DIID__DPelioranEvents);
  ASSERT_TRUE(info);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
  EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
  EXPECT_EQ(0, attr->cVars);
  const WORD funcs = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  // Only what IDispatch brings, nothing declared of its own (ids below 0x60010000).
  for (UINT k = 0; k < funcs; ++k) {
    FUNCDESC* func = nullptr;
    ASSERT_EQ(S_OK, info->GetFuncDesc(k, &func));
    EXPECT_GE(static_cast<unsigned long>(func->memid), 0x60000000ul) << k;
    info->ReleaseFuncDesc(func);
  }
  EXPECT_EQ(L"_DPelioranEvents", Doc(info.Get(), MEMBERID_NIL).name);
  EXPECT_EQ(L"Event interface for Pelioran Control", Doc(info.Get(), MEMBERID_NIL).help);
}

TEST_F(PelioranTypeLib, CoclassIsACreatableControlWithDefaultInterfaces) {
  ComPtr<ITypeInfo> info = Info(CLSID_Pelioran);
  ASSERT_TRUE(info);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
  EXPECT_EQ(TKIND_COCLASS, attr->typekind);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCANCREATE);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCONTROL);
  ASSERT_EQ(2, attr->cImplTypes);
  info->ReleaseTypeAttr(attr);
  EXPECT_EQ(L"Pelioran", Doc(info.Get(), MEMBERID_NIL).name);
  EXPECT_EQ(L"Pelioran Control", Doc(info.Get(), MEMBERID_NIL).help);

  const struct {
    const IID* iid;
    int flags;
  } expected[2] = {
      {&DIID__DPelioran, IMPLTYPEFLAG_FDEFAULT},
      {&DIID__DPelioranEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
  };
  for (UINT k = 0; k < 2; ++k) {
    INT flags = 0;
    ASSERT_EQ(S_OK, info->GetImplTypeFlags(k, &flags));
    EXPECT_EQ(expected[k].flags, flags) << k;
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> impl;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(k, &ref));
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(ref, impl.Put()));
    TYPEATTR* impl_attr = nullptr;
    ASSERT_EQ(S_OK, impl->GetTypeAttr(&impl_attr));
    EXPECT_TRUE(IsEqualGUID(*expected[k].iid, impl_attr->guid)) << k;
    impl->ReleaseTypeAttr(impl_attr);
  }
}

}  // namespace
