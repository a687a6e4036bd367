#pragma once

#include <oaidl.h>

#include "com/NoTypeInfo.h"

namespace hostkit {
class Report;
}  // namespace hostkit

namespace pel::host {


// Receives the control's events on its default outgoing interface and reports each one:
// "event <TAB> dispid <TAB> arguments in order, joined by ','".
class EventSink : public IDispatch {
 public:
  EventSink(const IID& iid, hostkit::Report& report) : iid_(iid), report_(report) {}
  virtual ~EventSink() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);

  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return com::NoTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    return com::NoTypeInfo(info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 private:
  IID iid_;
  hostkit::Report& report_;
};

}  // namespace pel::host
