// The control's persisted state: <param> tags through IPersistPropertyBag, streams, storages
// and a container's memory.

#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ParamBag.h"
#include "Pelioran_h.h"
#include "WinTestSupport.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"
#include "com/ComVariant.h"

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

// Changes three properties away from their defaults.
void ChangeProperties(IDispatch* control) {
  ComVariant user;
  *user.Get() = TextVariant(L"operator");
  ASSERT_EQ(S_OK, PutProperty(control, 6, *user.Get()));
  ASSERT_EQ(S_OK, PutProperty(control, 4, LongVariant(3128)));
  ASSERT_EQ(S_OK, PutProperty(control, 12, BoolVariant(false)));
}

void ExpectChangedProperties(IDispatch* control) {
  EXPECT_EQ(L"operator", Text(control, 6));
  EXPECT_EQ(3128, Number(control, 4));
  EXPECT_EQ(VARIANT_FALSE, Number(control, 12));
  EXPECT_EQ(80, Number(control, 2));
}

TEST(PelioranStream, SavedStateLoadsIntoAnotherControl) {
  auto control = NewControl();
  ChangeProperties(control.Get());
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
  ExpectChangedProperties(copy.Get());
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
  auto control = NewControl();
  ASSERT_EQ(S_OK, PutProperty(control.Get(), 2, LongVariant(9000)));
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()));
  EXPECT_EQ(E_POINTER, persist->Load(nullptr));
  EXPECT_EQ(9000, Number(control.Get(), 2));
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

// The bytes IPersistStreamInit::Save writes, the dirty flag left as it is.
std::vector<uint8_t> StreamBytes(IDispatch* control) {
  ComPtr<IPersistStreamInit> persist;
  EXPECT_EQ(S_OK, control->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()));
  auto stream = NewStream();
  EXPECT_EQ(S_OK, persist->Save(stream.Get(), FALSE));
  ULARGE_INTEGER end;
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_CUR, &end);
  std::vector<uint8_t> bytes(static_cast<size_t>(end.QuadPart));
  Rewind(stream.Get());
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  EXPECT_EQ(bytes.size(), read);
  return bytes;
}

// A compound file in memory, as a container keeps its document.
ComPtr<IStorage> NewStorage() {
  ComPtr<ILockBytes> bytes;
  EXPECT_EQ(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Put()));
  ComPtr<IStorage> storage;
  EXPECT_EQ(S_OK, StgCreateDocfileOnILockBytes(
                      bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                      storage.Put()));
  return storage;
}

ULONG RefCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

ComPtr<IPersistStorage> StorageOf(IDispatch* control) {
  ComPtr<IPersistStorage> persist;
  EXPECT_EQ(S_OK, control->QueryInterface(IID_IPersistStorage, persist.PutVoid()));
  return persist;
}

TEST(PelioranStorage, ContentsHoldTheStreamsBytesAndLoadIntoAnotherControl) {
  auto control = NewControl();
  auto persist = StorageOf(control.Get());
  auto storage = NewStorage();
  ASSERT_EQ(S_OK, persist->InitNew(storage.Get()));
  EXPECT_EQ(S_OK, persist->IsDirty());  // new, not yet saved anywhere
  ChangeProperties(control.Get());
  const std::vector<uint8_t> expected = StreamBytes(control.Get());
  ASSERT_EQ(S_OK, persist->Save(storage.Get(), TRUE));
  EXPECT_EQ(S_FALSE, persist->IsDirty());
  ASSERT_EQ(S_OK, persist->SaveCompleted(nullptr));

  ComPtr<IStream> contents;
  ASSERT_EQ(S_OK, storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                      contents.Put()));
  std::vector<uint8_t> saved(expected.size() + 16);
  ULONG read = 0;
  contents->Read(saved.data(), static_cast<ULONG>(saved.size()), &read);
  saved.resize(read);
  EXPECT_EQ(expected, saved);
  contents.Reset();

  auto copy = NewControl();
  auto copy_persist = StorageOf(copy.Get());
  ASSERT_EQ(S_OK, copy_persist->Load(storage.Get()));
  ExpectChangedProperties(copy.Get());
  EXPECT_EQ(S_FALSE, copy_persist->IsDirty());
}

TEST(PelioranStorage, CallsOutOfTurnAreRefusedAndHandsOffLetsTheStorageGo) {
  auto control = NewControl();
  auto persist = StorageOf(control.Get());
  auto storage = NewStorage();
  auto other = NewStorage();
  EXPECT_EQ(E_UNEXPECTED, persist->Save(storage.Get(), FALSE));  // not initialised yet
  EXPECT_EQ(E_UNEXPECTED, persist->SaveCompleted(nullptr));
  EXPECT_EQ(E_UNEXPECTED, persist->HandsOffStorage());
  EXPECT_EQ(E_INVALIDARG, persist->InitNew(nullptr));

  const ULONG refs = RefCount(storage.Get());
  ASSERT_EQ(S_OK, persist->InitNew(storage.Get()));
  EXPECT_EQ(refs + 1, RefCount(storage.Get()));  // held in normal mode
  EXPECT_EQ(CO_E_ALREADYINITIALIZED, persist->InitNew(storage.Get()));
  EXPECT_EQ(CO_E_ALREADYINITIALIZED, persist->Load(storage.Get()));
  EXPECT_EQ(E_UNEXPECTED, persist->SaveCompleted(nullptr));  // nothing to complete

  ASSERT_EQ(S_OK, persist->Save(storage.Get(), TRUE));
  EXPECT_EQ(E_UNEXPECTED, persist->Save(storage.Get(), TRUE));  // no scribbling until completed
  ASSERT_EQ(S_OK, persist->HandsOffStorage());
  EXPECT_EQ(refs, RefCount(storage.Get()));
  EXPECT_EQ(E_UNEXPECTED, persist->HandsOffStorage());
  EXPECT_EQ(E_UNEXPECTED, persist->Save(other.Get(), FALSE));
  EXPECT_EQ(E_INVALIDARG, persist->SaveCompleted(nullptr));  // after hands-off a storage is due

  const ULONG other_refs = RefCount(other.Get());
  ASSERT_EQ(S_OK, persist->SaveCompleted(other.Get()));
  EXPECT_EQ(other_refs + 1, RefCount(other.Get()));
  EXPECT_EQ(S_OK, persist->Save(other.Get(), TRUE));
  EXPECT_EQ(S_OK, persist->SaveCompleted(nullptr));

  // A storage without the control's stream loads nothing: the defaults stay.
  auto copy = NewControl();
  ASSERT_EQ(S_OK, PutProperty(copy.Get(), 2, LongVariant(9000)));
  EXPECT_EQ(STG_E_FILENOTFOUND, StorageOf(copy.Get())->Load(NewStorage().Get()));
  EXPECT_EQ(80, Number(copy.Get(), 2));
}

TEST(PelioranMemory, HoldsTheStreamsBytesWithinTheContainersBuffer) {
  auto control = NewControl();
  ChangeProperties(control.Get());
  ComPtr<IPersistMemory> persist;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_IPersistMemory, persist.PutVoid()));
  const std::vector<uint8_t> expected = StreamBytes(control.Get());
  ULONG size = 0;
  ASSERT_EQ(S_OK, persist->GetSizeMax(&size));
  ASSERT_EQ(expected.size(), size);

  constexpr uint8_t kUntouched = 0xCD;
  std::vector<uint8_t> memory(size + 8, kUntouched);
  EXPECT_EQ(STG_E_MEDIUMFULL, persist->Save(memory.data(), TRUE, size - 1));
  EXPECT_EQ(std::vector<uint8_t>(size + 8, kUntouched), memory);
  EXPECT_EQ(S_OK, persist->IsDirty());
  ASSERT_EQ(S_OK, persist->Save(memory.data(), TRUE, size + 8));
  EXPECT_EQ(expected, std::vector<uint8_t>(memory.begin(), memory.begin() + size));
  EXPECT_EQ(std::vector<uint8_t>(8, kUntouched), std::vector<uint8_t>(memory.begin() + size,
                                                                      memory.end()));
  EXPECT_EQ(S_FALSE, persist->IsDirty());

  auto copy = NewControl();
  ComPtr<IPersistMemory> copy_persist;
  ASSERT_EQ(S_OK, copy->QueryInterface(IID_IPersistMemory, copy_persist.PutVoid()));
  ASSERT_EQ(S_OK, copy_persist->Load(memory.data(), size));
  ExpectChangedProperties(copy.Get());

  // The whole block lies in the buffer, but the container gives one byte less: a reader that
  // went past the size it was given would load it.
  auto cut = NewControl();
  ComPtr<IPersistMemory> cut_persist;
  ASSERT_EQ(S_OK, cut->QueryInterface(IID_IPersistMemory, cut_persist.PutVoid()));
  EXPECT_TRUE(FAILED(cut_persist->Load(memory.data(), size - 1)));
  EXPECT_EQ(L"", Text(cut.Get(), 6));
  const uint8_t hostile[] = {0xF0, 0xFF, 0xFF, 0xFF, 1, 0, 0, 1, 0};
  EXPECT_TRUE(FAILED(cut_persist->Load(const_cast<uint8_t*>(hostile), sizeof(hostile))));
  EXPECT_EQ(E_POINTER, cut_persist->Save(nullptr, TRUE, 100));
}

}  // namespace
