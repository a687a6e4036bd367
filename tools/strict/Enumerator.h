#pragma once

#include <ocidl.h>

#include <vector>

#include "MakeObject.h"
#include "Module.h"

namespace strict {

inline IConnectionPoint* AddRefItem(IConnectionPoint* point) {
  point->AddRef();
  return point;
}
inline CONNECTDATA AddRefItem(const CONNECTDATA& connection) {
  connection.pUnk->AddRef();
  return connection;
}

// IEnumConnectionPoints and IEnumConnections over a snapshot of items. `keep` holds what the
// items' raw pointers live by (the component, or the sinks) for the enumerator's life.
template <class Interface, class Item, const IID* kIid>
class Enumerator final : public Interface {
 public:
  Enumerator(std::vector<ComRef<IUnknown>> keep, std::vector<Item> items, size_t at = 0)
      : keep_(std::move(keep)), items_(std::move(items)), at_(at) {}
  Enumerator(const Enumerator&) = delete;
  Enumerator& operator=(const Enumerator&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, *kIid)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (!fetched && count != 1)) return E_POINTER;
    ULONG n = 0;
    while (n < count && at_ < items_.size()) out[n++] = AddRefItem(items_[at_++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    const size_t left = items_.size() - at_;
    at_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    at_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(Interface** out) override {
    if (!out) return E_POINTER;
    auto copy = MakeObject<Enumerator>(keep_, items_, at_);
    *out = copy.Detach();
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  ~Enumerator() = default;

  ModuleLock lock_;
  LONG refs_ = 1;
  std::vector<ComRef<IUnknown>> keep_;
  std::vector<Item> items_;
  size_t at_;
};

using PointEnumerator = Enumerator<IEnumConnectionPoints, IConnectionPoint*, &IID_IEnumConnectionPoints>;
using ConnectionEnumerator = Enumerator<IEnumConnections, CONNECTDATA, &IID_IEnumConnections>;

}  // namespace strict
