#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <vector>

#include "com/ComPtr.h"
#include "com/NoTypeInfo.h"
#include "ports/Variant.h"

namespace pel::win {

// A hosted component's event, its arguments in the order of the event's parameter list.
using ComponentEvent = std::function<void(int32_t dispid, const std::vector<Variant>& args)>;

// Receives the events of a component's outgoing dispatch interface and hands them on.
class EventSink : public IDispatch {
 public:
  EventSink(const IID& iid, ComponentEvent handler) : iid_(iid), handler_(std::move(handler)) {}
  virtual ~EventSink() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);

  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return com::NoTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    return com::NoTypeInfo(info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

  // Stops handing events on (a component may still fire while it is being taken down).
  void Detach() { handler_ = nullptr; }

 private:
  IID iid_;
  ComponentEvent handler_;
};

// An EventSink advised on a component's default outgoing interface (named by its class
// information; without any, its first connection point that is not IPropertyNotifySink),
// unadvised when this goes.
class EventConnection {
 public:
  EventConnection() = default;
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;
  ~EventConnection() { Disconnect(); }

  HRESULT Connect(IUnknown* component, ComponentEvent handler);
  void Disconnect();

 private:
  com::ComPtr<IConnectionPoint> point_;
  com::ComPtr<IDispatch> sink_;
  EventSink* events_ = nullptr;
  DWORD cookie_ = 0;
};

}  // namespace pel::win
