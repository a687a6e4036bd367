// OleControl: the persisted block in a storage (IPersistStorage) and in a container's memory
// (IPersistMemory). Both go through the stream's Load and Save, so that every carrier holds
// the same bytes.

#include "com/OleControl.h"

#include "com/PersistExchange.h"

namespace pel::com {

namespace {

constexpr const wchar_t* kContentsStream = L"Contents";

ComPtr<IStream> NewMemoryStream() {
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) stream.Reset();
  return stream;
}

HRESULT Rewind(IStream* stream) {
  LARGE_INTEGER zero = {};
  return stream->Seek(zero, STREAM_SEEK_SET, nullptr);
}

}  // namespace

// ---- IPersistStorage

STDMETHODIMP OleControl::InitNew(IStorage* storage) {
  const HRESULT hr = storage_.CheckInit(storage);
  if (FAILED(hr)) return hr;
  InitNew();
  storage_.Initialized(storage);
  // A new object is not yet in any storage: its container is to save it.
  SetModified(true);
  return S_OK;
}

STDMETHODIMP OleControl::Load(IStorage* storage) {
  HRESULT hr = storage_.CheckInit(storage);
  if (FAILED(hr)) return hr;
  ComPtr<IStream> stream;
  hr = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                           stream.Put());
  if (FAILED(hr)) {
    InitNew();
    return hr;
  }
  hr = Load(stream.Get());
  if (FAILED(hr)) return hr;
  storage_.Initialized(storage);
  return S_OK;
}

STDMETHODIMP OleControl::Save(IStorage* storage, BOOL sameAsLoad) {
  HRESULT hr = storage_.CheckSave(storage);
  if (FAILED(hr)) return hr;
  ComPtr<IStream> stream;
  hr = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                             stream.Put());
  if (FAILED(hr)) return hr;
  // The control's own storage now holds its state; a copy elsewhere leaves it modified.
  hr = Save(stream.Get(), sameAsLoad);
  if (FAILED(hr)) return hr;
  storage_.Saved();
  return S_OK;
}

STDMETHODIMP OleControl::SaveCompleted(IStorage* storage) { return storage_.Complete(storage); }

STDMETHODIMP OleControl::HandsOffStorage() { return storage_.HandsOff(); }

// ---- IPersistMemory

STDMETHODIMP OleControl::Load(LPVOID memory, ULONG size) {
  if (!memory) return E_POINTER;
  ComPtr<IStream> stream = NewMemoryStream();
  if (!stream) return E_OUTOFMEMORY;
  // Never more than the container's bytes, nor more than a block can be.
  const ULONG take = size < 4 + kMaxPersistedBlock ? size : 4 + kMaxPersistedBlock;
  ULONG written = 0;
  HRESULT hr = stream->Write(memory, take, &written);
  if (SUCCEEDED(hr) && written != take) hr = E_OUTOFMEMORY;
  if (SUCCEEDED(hr)) hr = Rewind(stream.Get());
  if (FAILED(hr)) return hr;
  return Load(stream.Get());
}

STDMETHODIMP OleControl::Save(LPVOID memory, BOOL clearDirty, ULONG size) {
  if (!memory) return E_POINTER;
  ComPtr<IStream> stream = NewMemoryStream();
  if (!stream) return E_OUTOFMEMORY;
  HRESULT hr = Save(stream.Get(), FALSE);
  if (FAILED(hr)) return hr;
  ULARGE_INTEGER end = {};
  LARGE_INTEGER zero = {};
  hr = stream->Seek(zero, STREAM_SEEK_CUR, &end);
  if (FAILED(hr)) return hr;
  if (end.QuadPart > size) return STG_E_MEDIUMFULL;
  const ULONG length = static_cast<ULONG>(end.QuadPart);
  ULONG read = 0;
  hr = Rewind(stream.Get());
  if (SUCCEEDED(hr)) hr = stream->Read(memory, length, &read);
  if (SUCCEEDED(hr) && read != length) hr = STG_E_READFAULT;
  if (FAILED(hr)) return hr;
  if (clearDirty) SetModified(false);
  return S_OK;
}

STDMETHODIMP OleControl::GetSizeMax(ULONG* size) {
  if (!size) return E_POINTER;
  ULARGE_INTEGER max = {};
  const HRESULT hr = GetSizeMax(&max);
  if (FAILED(hr)) return hr;
  *size = static_cast<ULONG>(max.QuadPart);
  return S_OK;
}

}  // namespace pel::com
