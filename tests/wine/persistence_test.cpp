// The control's persisted state: <param> tags through IPersistPropertyBag, and streams.

#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ParamBag.h"
#include "Pelioran_h.h"
#include "WinTestSupport.h"
#include "control/win/com/ComObject.h"
#include "control/win/com/ComPtr.h"
#include "control/win/com/ComVariant.h"

namespace {

using pel::com::ComPtr;
using pel::com::ComVariant;
using pel::host::ParamBag;
using namespace pel::wintest;

using Params = std::vector<std::pair<std::string, std::string>>;

ComPtr<IDispatch> NewControl() {
  ComPtr<IDispatch> control;
  EXPECT_EQ(S_OK, CreateFromDll(BinPath(L"Pelioran.ocx"), CLSID_Pelioran, IID_IDispatch,
                                control.PutVoid()));
  return control;
}

std::wstring Text(IDispatch* control, DISPID id) {
  ComVariant v;
  EXPECT_EQ(S_OK, GetProperty(control, id, v.Get()));
  return V_VT(v.Get()) == VT_BSTR && V_BSTR(v.Get()) ? V_BSTR(v.Get()) : L"<not a text>";
}

long Number(IDispatch* control, DISPID id) {
  ComVariant v;
  EXPECT_EQ(S_OK, GetProperty(control, id, v.Get()));
  if (V_VT(v.Get()) == VT_I4) return V_I4(v.Get());
  return V_VT(v.Get()) == VT_BOOL ? V_BOOL(v.Get()) : -99;
}

HRESULT LoadParams(IDispatch* control, const Params& params) {
  ComPtr<IPersistPropertyBag> persist;
  HRESULT hr = control->QueryInterface(IID_IPersistPropertyBag, persist.PutVoid());
  if (FAILED(hr)) return hr;
  auto bag = pel::com::MakeComObject<ParamBag>(params);
  return persist->Load(bag.Get(), nullptr);
}

TEST(PelioranParams, TextsAreCoercedToThePropertyTypes) {
  auto control = NewControl();
  ASSERT_EQ(S_OK, LoadParams(control.Get(), {{"strIpAddr", "10.1.2.3"},
                                             {"IHTTPPORT", "8081"},
                                             {"strIpAddrProxy", "proxy.local"},
                                             {"iHttpPortProxy", "3128"},
                                             {"iSvrID", "7"},
                                             {"strUserID", "root"},
                                             {"strUserPWD", "pass word"},
                                             {"bGroup", "0"},
                                             {"bTour", "False"},
                                             {"bAux1", "TRUE"},
                                             {"bAux2", "-1"}}));
  EXPECT_EQ(L"10.1.2.3", Text(control.Get(), 1));
  EXPECT_EQ(8081, Number(control.Get(), 2));
  EXPECT_EQ(L"proxy.local", Text(control.Get(), 3));
  EXPECT_EQ(3128, Number(control.Get(), 4));
  EXPECT_EQ(7, Number(control.Get(), 5));
  EXPECT_EQ(L"root", Text(control.Get(), 6));
  EXPECT_EQ(L"pass word", Text(control.Get(), 7));
  EXPECT_EQ(VARIANT_FALSE, Number(control.Get(), 9));
  EXPECT_EQ(VARIANT_FALSE, Number(control.Get(), 10));
  EXPECT_EQ(VARIANT_TRUE, Number(control.Get(), 11));  // absent: default
  EXPECT_EQ(VARIANT_TRUE, Number(control.Get(), 13));
  EXPECT_EQ(VARIANT_TRUE, Number(control.Get(), 14));
}

TEST(PelioranParams, MissingOrUnreadableValuesTakeTheDefaults) {
  auto control = NewControl();
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 2, LongVariant(9000)));
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 13, BoolVariant(true)));
  ASSERT_EQ(S_OK, LoadParams(control.Get(), {{"iHttpPort", "eighty"},
                                             {"bAux1", "maybe"},
                                             {"iOperPaneCtls", "255"}}));
  EXPECT_EQ(80, Number(control.Get(), 2));
  EXPECT_EQ(VARIANT_FALSE, Number(control.Get(), 13));
  EXPECT_EQ(8080, Number(control.Get(), 4));
  EXPECT_EQ(0, Number(control.Get(), 8));  // not persisted, so not read either
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()));
  EXPECT_EQ(S_FALSE, persist->IsDirty());
}

TEST(PelioranParams, SaveWritesTheVersionStockStateAndPropertiesInOrder) {
  auto control = NewControl();
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 5, LongVariant(3)));
  ComVariant address;
  *address.Get() = TextVariant(L"192.0.2.1");
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 1, *address.Get()));
  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_IPersistPropertyBag, persist.PutVoid()));
  auto bag = pel::com::MakeComObject<ParamBag>(Params{});
  ASSERT_EQ(S_OK, persist->Save(bag.Get(), TRUE, TRUE));
  const Params& saved = bag->Params();
  const char* order[] = {"_Version", "_ExtentX", "_ExtentY", "_StockProps", "iSvrID",
                         "strIpAddr", "iHttpPort", "strIpAddrProxy", "iHttpPortProxy",
                         "strUserID", "strUserPWD", "bGroup", "bTour", "bPower", "bLight",
                         "bAux1", "bAux2"};
  ASSERT_EQ(sizeof(order) / sizeof(order[0]), saved.size());
  for (size_t k = 0; k < saved.size(); ++k) EXPECT_EQ(order[k], saved[k].first) << k;
  EXPECT_EQ("65536", saved[0].second);
  EXPECT_EQ("0", saved[3].second);
  EXPECT_EQ("3", saved[4].second);
  EXPECT_EQ("192.0.2.1", saved[5].second);
  EXPECT_EQ("80", saved[6].second);
  EXPECT_EQ("FALSE", saved[15].second);

  // What was saved loads back into a fresh control, extent included.
  auto copy = NewControl();
  ASSERT_EQ(S_OK, LoadParams(copy.Get(), saved));
  EXPECT_EQ(3, Number(copy.Get(), 5));
  EXPECT_EQ(L"192.0.2.1", Text(copy.Get(), 1));
  ComPtr<IOleObject> a, b;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_IOleObject, a.PutVoid()));
  ASSERT_EQ(S_OK, copy->QueryInterface(IID_IOleObject, b.PutVoid()));
  SIZEL ea, eb;
  a->GetExtent(DVASPECT_CONTENT, &ea);
  b->GetExtent(DVASPECT_CONTENT, &eb);
  EXPECT_EQ(ea.cx, eb.cx);
  EXPECT_EQ(ea.cy, eb.cy);
}

ComPtr<IStream> NewStream() {
  ComPtr<IStream> stream;
  EXPECT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
  return stream;
}

void Rewind(IStream* stream) {
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
}

TEST(PelioranStream, SavedStateLoadsIntoAnotherControl) {
  auto control = NewControl();
  ComVariant user;
  *user.Get() = TextVariant(L"operator");
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 6, *user.Get()));
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 4, LongVariant(3128)));
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 12, BoolVariant(false)));
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()));
  EXPECT_EQ(S_OK, persist->IsDirty());
  auto stream = NewStream();
  ULARGE_INTEGER max;
  ASSERT_EQ(S_OK, persist->GetSizeMax(&max));
  ASSERT_EQ(S_OK, persist->Save(stream.Get(), TRUE));
  EXPECT_EQ(S_FALSE, persist->IsDirty());
  ULARGE_INTEGER end;
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_CUR, &end);
  EXPECT_EQ(max.QuadPart, end.QuadPart);

  Rewind(stream.Get());
  auto copy = NewControl();
  ComPtr<IPersistStreamInit> copy_persist;
  ASSERT_EQ(S_OK, copy->QueryInterface(IID_IPersistStreamInit, copy_persist.PutVoid()));
  ASSERT_EQ(S_OK, copy_persist->Load(stream.Get()));
  EXPECT_EQ(L"operator", Text(copy.Get(), 6));
  EXPECT_EQ(3128, Number(copy.Get(), 4));
  EXPECT_EQ(VARIANT_FALSE, Number(copy.Get(), 12));
  EXPECT_EQ(80, Number(copy.Get(), 2));
  EXPECT_EQ(S_FALSE, copy_persist->IsDirty());
}

TEST(PelioranStream, ForeignOrDamagedStreamsLeaveTheDefaults) {
  const std::vector<std::vector<uint8_t>> bad = {
      {},                                    // nothing at all
      {5, 0, 0, 0, 1, 0, 0},                 // shorter than it says
      {2, 0, 0, 0, 9, 9},                    // unknown record type
      {5, 0, 0, 0, 1, 0, 0, 1, 0},           // one value where the control keeps many
      {0xFF, 0xFF, 0xFF, 0x7F},              // a huge block
  };
  for (size_t k = 0; k < bad.size(); ++k) {
    auto control = NewControl();
    ASSERT_EQ(S_OK, PutProperty(control.Get(), 2, LongVariant(9000)));
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(S_OK, control->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()));
    auto stream = NewStream();
    if (!bad[k].empty()) {
      ULONG written = 0;
      stream->Write(bad[k].data(), static_cast<ULONG>(bad[k].size()), &written);
    }
    Rewind(stream.Get());
    EXPECT_TRUE(FAILED(persist->Load(stream.Get()))) << k;
    EXPECT_EQ(80, Number(control.Get(), 2)) << k;
    EXPECT_EQ(S_FALSE, persist->IsDirty()) << k;
  }
}

TEST(PelioranStream, InitNewRestoresTheDefaults) {
  auto control = NewControl();
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 13, BoolVariant(true)));
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 5, LongVariant(12)));
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()));
  ASSERT_EQ(S_OK, persist->InitNew());
  EXPECT_EQ(VARIANT_FALSE, Number(control.Get(), 13));
  EXPECT_EQ(0, Number(control.Get(), 5));
}

}  // namespace
