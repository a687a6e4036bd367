#pragma once

#include <ocidl.h>

#include <utility>
#include <vector>

#include "com/ComPtr.h"

namespace pel::com {

// The connection point of one outgoing dispatch interface, a part of its container object:
// its reference count is the container's. Sinks are held until they unadvise or the
// container lets them go.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer* container, REFIID iid)
      : container_(container), iid_(iid) {}
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;
  ~ConnectionPoint() = default;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return container_->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return container_->Release(); }

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) override;

  const IID& Iid() const { return iid_; }

  // Calls event `id` on every sink; `args` in parameter order (they are passed last to first
  // as IDispatch wants).
  void Fire(DISPID id, const std::vector<VARIANT>& args);

 private:
  IConnectionPointContainer* container_;
  IID iid_;
  DWORD nextCookie_ = 1;
  std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
};

// IConnectionPointContainer::EnumConnectionPoints over a fixed list of points.
HRESULT EnumerateConnectionPoints(const std::vector<IConnectionPoint*>& points,
                                  IEnumConnectionPoints** out);

}  // namespace pel::com
