#pragma once

#include <oaidl.h>
#include <ocidl.h>

#include <vector>

#include "com/ComPtr.h"

namespace pel::wintest {

// An event sink that keeps every event it receives: DISPID and arguments in parameter order
// (as VARIANT type and integer value).
class EventRecorder : public IDispatch {
 public:
  struct Arg {
    VARTYPE vt;
    long value;
  };
  struct Event {
    DISPID id;
    std::vector<Arg> args;
  };

  explicit EventRecorder(const IID& iid) : iid_(iid) {}
  virtual ~EventRecorder() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

  const std::vector<Event>& Events() const { return events_; }

 private:
  IID iid_;
  std::vector<Event> events_;
};

// Connects a new recorder to `control`'s default outgoing interface; the connection point and
// cookie go to the caller, who unadvises.
struct EventConnection {
  com::ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  EventRecorder* recorder = nullptr;  // kept alive by the connection
  ~EventConnection() {
    if (point) point->Unadvise(cookie);
  }
};
HRESULT ConnectEvents(IUnknown* control, EventConnection& connection);

}  // namespace pel::wintest
