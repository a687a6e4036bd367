// Invoke through a DISPID table: call kinds, argument counts, coercion and argument order.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "com/ComVariant.h"
#include "com/DispatchTable.h"

namespace {

using pel::com::ComVariant;
using pel::com::DispatchTable;
using pel::com::DispMember;
using pel::com::MemberKind;

class RecordingTarget : public pel::com::DispatchTarget {
 public:
  HRESULT GetMember(const DispMember& m, VARIANT* result) override {
    calls.push_back("get " + std::to_string(m.id));
    V_VT(result) = VT_I4;
    V_I4(result) = 41;
    return S_OK;
  }
  HRESULT PutMember(const DispMember& m, const VARIANT& value) override {
    calls.push_back("put " + std::to_string(m.id) + " vt " + std::to_string(V_VT(&value)));
    if (V_VT(&value) == VT_I4) last = V_I4(&value);
    return S_OK;
  }
  HRESULT CallMember(const DispMember& m, const std::vector<VARIANT*>& args,
                     VARIANT* result) override {
    std::string line = "call " + std::to_string(m.id);
    for (VARIANT* a : args) line += " vt" + std::to_string(V_VT(a));
    calls.push_back(line);
    if (args.size() == 3) {
      first = V_I4(args[0]);
      third = V_I2(args[2]);
      VariantClear(args[1]);  // the by-reference argument is written back
      V_VT(args[1]) = VT_I4;
      V_I4(args[1]) = 77;
    }
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = VARIANT_TRUE;
    return S_OK;
  }
  std::vector<std::string> calls;
  long last = 0;
  long first = 0;
  long third = 0;
};

DispatchTable Table() {
  return DispatchTable({
      {1, L"Level", MemberKind::kProperty, VT_I4, {}},
      {2, L"Grab", MemberKind::kMethod, VT_BOOL, {VT_I4, VT_VARIANT | VT_BYREF, VT_I2}},
      {3, L"Reset", MemberKind::kMethod, VT_EMPTY, {}},
  });
}

TEST(DispatchTable, MethodArgumentsArriveInDeclarationOrderCoerced) {
  RecordingTarget target;
  VARIANT out_value;
  VariantInit(&out_value);
  ComVariant count;
  *count.Get() = pel::wintest::TextVariant(L"12");
  VARIANT args[3];  // last to first, as IDispatch passes them
  V_VT(&args[0]) = VT_I4;
  V_I4(&args[0]) = 3;  // camera, wanted as VT_I2
  V_VT(&args[1]) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&args[1]) = &out_value;
  args[2] = *count.Get();  // wanted as VT_I4
  DISPPARAMS params = {args, nullptr, 3, 0};
  ComVariant result;
  ASSERT_EQ(S_OK, Table().Invoke(target, 2, 0, DISPATCH_METHOD, &params, result.Get(), nullptr));
  ASSERT_EQ(1u, target.calls.size());
  EXPECT_EQ("call 2 vt3 vt0 vt2", target.calls[0]);
  EXPECT_EQ(12, target.first);
  EXPECT_EQ(3, target.third);
  EXPECT_EQ(VT_I4, V_VT(&out_value));
  EXPECT_EQ(77, V_I4(&out_value));
  EXPECT_EQ(VT_BOOL, V_VT(result.Get()));
}

TEST(DispatchTable, PropertyCallsAndTheirErrors) {
  RecordingTarget target;
  const DispatchTable table = Table();
  ComVariant value;
  *value.Get() = pel::wintest::TextVariant(L"250");
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put = {value.Get(), &named, 1, 1};
  EXPECT_EQ(S_OK, table.Invoke(target, 1, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr));
  EXPECT_EQ(250, target.last);
  EXPECT_EQ("put 1 vt 3", target.calls.back());

  DISPPARAMS names_missing = {value.Get(), nullptr, 1, 1};
  EXPECT_EQ(E_INVALIDARG,
            table.Invoke(target, 1, 0, DISPATCH_PROPERTYPUT, &names_missing, nullptr, nullptr));

  DISPID other = 5;
  DISPPARAMS wrong_name = {value.Get(), &other, 1, 1};
  EXPECT_EQ(DISP_E_PARAMNOTFOUND,
            table.Invoke(target, 1, 0, DISPATCH_PROPERTYPUT, &wrong_name, nullptr, nullptr));
  ComVariant text;
  *text.Get() = pel::wintest::TextVariant(L"high");
  DISPPARAMS bad = {text.Get(), &named, 1, 1};
  UINT arg_err = 9;
  EXPECT_EQ(DISP_E_TYPEMISMATCH,
            table.Invoke(target, 1, 0, DISPATCH_PROPERTYPUT, &bad, nullptr, &arg_err));
  EXPECT_EQ(0u, arg_err);

  ComVariant got;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(S_OK, table.Invoke(target, 1, 0, DISPATCH_PROPERTYGET, &none, got.Get(), nullptr));
  EXPECT_EQ(41, V_I4(got.Get()));
  EXPECT_EQ(DISP_E_BADPARAMCOUNT,
            table.Invoke(target, 1, 0, DISPATCH_PROPERTYGET, &put, got.Put(), nullptr));
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            table.Invoke(target, 3, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr));
  EXPECT_EQ(DISP_E_NONAMEDARGS,
            table.Invoke(target, 3, 0, DISPATCH_METHOD, &put, nullptr, nullptr));
  EXPECT_EQ(DISP_E_BADPARAMCOUNT,
            table.Invoke(target, 2, 0, DISPATCH_METHOD, &none, nullptr, nullptr));
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, table.Invoke(target, 4, 0, DISPATCH_METHOD, &none, nullptr,
                                                nullptr));
  EXPECT_EQ(S_OK, table.Invoke(target, 3, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr));
  EXPECT_EQ("call 3", target.calls.back());
}

TEST(DispatchTable, NamesFindTheirDispids) {
  const DispatchTable table = Table();
  std::wstring name = L"GRAB";
  LPOLESTR names[2] = {name.data(), name.data()};
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(S_OK, table.GetIDsOfNames(names, 1, ids));
  EXPECT_EQ(2, ids[0]);
  // Parameter names are not known.
  EXPECT_EQ(DISP_E_UNKNOWNNAME, table.GetIDsOfNames(names, 2, ids));
  EXPECT_EQ(2, ids[0]);
  EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

}  // namespace
