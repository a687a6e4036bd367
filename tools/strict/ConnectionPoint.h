#pragma once

#include <ocidl.h>

#include <vector>

#include "MakeObject.h"

namespace strict {

// One outgoing interface of a component, part of the component object (its references are
// the component's). Advise keeps what the sink's QueryInterface answers for the point's IID
// and refuses a sink that does not answer it, as the usual frames do.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer* owner, const IID& iid) : owner_(owner), iid_(iid) {}
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) override;

  const IID& Iid() const { return iid_; }
  // The advised sinks, each the pointer its QueryInterface answered for Iid(): a pointer to
  // that interface.
  std::vector<ComRef<IUnknown>> Sinks() const;
  void UnadviseAll() { connections_.clear(); }

 private:
  struct Connection {
    DWORD cookie;
    ComRef<IUnknown> sink;
  };

  IConnectionPointContainer* owner_;
  IID iid_;
  std::vector<Connection> connections_;
  DWORD nextCookie_ = 1;
};

}  // namespace strict
