#pragma once

#include <windows.h>
#include <objsafe.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "com/ComVariant.h"
#include "com/OleControl.h"

namespace pel::standin {

// What makes one stand-in: its name in the call log and its identities.
struct StandinDescription {
  const char* component;
  const CLSID* clsid;
  const IID* eventIid;
  SIZE size;
  const wchar_t* windowClass;
};

// An event argument: VT_I2 or VT_I4 with its value.
struct EventArg {
  VARTYPE vt;
  int32_t value;
};

// A stand-in for an outside ActiveX component: it accepts every member of its table, keeps
// what is put for later gets, logs every call and fires its events from its window's message
// loop (at once when it has no window). It says it is safe for scripting and initialising, as
// the real components do, unless PEL_STANDIN_UNSAFE names it: then it has no IObjectSafety.
class StandinControl : public com::OleControl, public IObjectSafety {
 public:
  StandinControl(const StandinDescription& description, com::DispatchTable members);
  ~StandinControl() override;

  // IObjectSafety
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

 protected:
  // Component behaviour behind the shared bookkeeping.
  virtual void OnPut(const com::DispMember& member, const VARIANT& value);
  virtual HRESULT OnCall(const com::DispMember& member, const std::vector<VARIANT*>& args,
                         VARIANT* result);

  // A starting value, as if put (not logged).
  void Seed(DISPID id, const VARIANT& value);
  void SeedLong(DISPID id, int32_t value);
  const VARIANT* Stored(DISPID id) const;
  int32_t StoredLong(DISPID id, int32_t def) const;
  bool StoredBool(DISPID id) const;
  std::wstring StoredText(DISPID id) const;

  void PostEvent(DISPID id, std::vector<EventArg> args);

  HRESULT QueryExtraInterface(REFIID iid, void** out) override;
  bool OnCreateWindow(const CREATESTRUCTW& create) override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  const char* Component() const { return description_.component; }

 private:
  struct PendingEvent {
    DISPID id;
    std::vector<EventArg> args;
  };

  HRESULT GetMember(const com::DispMember& member, VARIANT* result) override;
  HRESULT PutMember(const com::DispMember& member, const VARIANT& value) override;
  HRESULT CallMember(const com::DispMember& member, const std::vector<VARIANT*>& args,
                     VARIANT* result) override;
  void FirePending();

  StandinDescription description_;
  std::map<DISPID, com::ComVariant> values_;
  std::vector<PendingEvent> pending_;
};

}  // namespace pel::standin
