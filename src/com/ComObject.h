#pragma once

#include <unknwn.h>

#include <cstddef>
#include <new>
#include <utility>

#include "com/ComPtr.h"
#include "com/Module.h"

namespace pel::com {

// One row of a QueryInterface table: an interface ID and how to reach that interface from
// the implementing class.
template <class T>
struct InterfaceEntry {
  const IID* iid;
  IUnknown* (*cast)(T*);
};

template <class T, class I>
IUnknown* CastTo(T* object) {
  return static_cast<I*>(object);
}

// QueryInterface over a table. IID_IUnknown answers with the first row's interface, so that
// every query for IUnknown gives the same pointer (the object's identity).
template <class T, size_t N>
HRESULT QueryFromTable(T* object, const InterfaceEntry<T> (&table)[N], REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  IUnknown* found = nullptr;
  if (IsEqualIID(iid, IID_IUnknown)) {
    found = table[0].cast(object);
  } else {
    for (const InterfaceEntry<T>& entry : table) {
      if (IsEqualIID(iid, *entry.iid)) {
        found = entry.cast(object);
        break;
      }
    }
  }
  if (!found) return E_NOINTERFACE;
  found->AddRef();
  *out = found;
  return S_OK;
}

// The reference count and identity of a COM class T. T declares its interfaces by
// implementing `HRESULT QueryInterfaceImpl(REFIID, void**)` (usually with QueryFromTable) and
// leaves AddRef and Release to this wrapper; the object goes when the last reference does.
template <class T>
class ComObject final : public T {
 public:
  template <class... Args>
  explicit ComObject(Args&&... args) : T(std::forward<Args>(args)...) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    return T::QueryInterfaceImpl(iid, out);
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 private:
  ~ComObject() = default;
  LONG refs_ = 1;
  ModuleLock lock_;
};

// Makes a COM object holding its first reference, or null when memory runs out.
template <class T, class... Args>
ComPtr<ComObject<T>> MakeComObject(Args&&... args) {
  return ComPtr<ComObject<T>>::Adopt(new (std::nothrow) ComObject<T>(std::forward<Args>(args)...));
}

// Makes a COM object and queries it for `iid` into `out` (a class factory's CreateInstance).
template <class T, class... Args>
HRESULT CreateComObject(REFIID iid, void** out, Args&&... args) {
  if (!out) return E_POINTER;
  *out = nullptr;
  ComPtr<ComObject<T>> object = MakeComObject<T>(std::forward<Args>(args)...);
  if (!object) return E_OUTOFMEMORY;
  return object->QueryInterface(iid, out);
}

}  // namespace pel::com
