#include "ConnectionPoint.h"

#include <olectl.h>

#include "Enumerator.h"

namespace strict {

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = owner_;
  owner_->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie) *cookie = 0;
  if (!sink || !cookie) return E_POINTER;
  ComRef<IUnknown> wanted;
  if (FAILED(sink->QueryInterface(iid_, wanted.PutVoid())) || !wanted) {
    return CONNECT_E_CANNOTCONNECT;
  }
  connections_.push_back({nextCookie_, std::move(wanted)});
  *cookie = nextCookie_++;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  for (auto it = connections_.begin(); it != connections_.end(); ++it) {
    if (it->cookie == cookie) {
      // The sink's release may call back into the component: out of the list first.
      ComRef<IUnknown> going = std::move(it->sink);
      connections_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (!out) return E_POINTER;
  std::vector<ComRef<IUnknown>> keep;
  std::vector<CONNECTDATA> items;
  for (const Connection& c : connections_) {
    keep.push_back(c.sink);
    items.push_back({c.sink.Get(), c.cookie});
  }
  auto e = MakeObject<ConnectionEnumerator>(std::move(keep), std::move(items));
  *out = e.Detach();
  return *out ? S_OK : E_OUTOFMEMORY;
}

std::vector<ComRef<IUnknown>> ConnectionPoint::Sinks() const {
  std::vector<ComRef<IUnknown>> sinks;
  for (const Connection& c : connections_) sinks.push_back(c.sink);
  return sinks;
}

}  // namespace strict
