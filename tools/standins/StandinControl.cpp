#include "StandinControl.h"

#include <string>

#include "CallLog.h"
#include "com/ComObject.h"

namespace pel::standin {

namespace {
// Posted to the stand-in's own window: fire the pending events.
constexpr UINT kWmFireEvents = WM_APP + 0x51;
}  // namespace

StandinControl::StandinControl(const StandinDescription& description, com::DispatchTable members)
    : com::OleControl(com::ControlTraits{description.clsid, nullptr, description.eventIid,
                                         OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                             OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                             OLEMISC_SETCLIENTSITEFIRST,
                                         description.size, description.windowClass},
                      std::move(members)),
      description_(description) {}

StandinControl::~StandinControl() { DestroyControlWindow(); }

HRESULT StandinControl::QueryExtraInterface(REFIID iid, void** out) {
  wchar_t unsafe[64] = {};
  const DWORD n = GetEnvironmentVariableW(L"PEL_STANDIN_UNSAFE", unsafe, 64);
  const std::string names(unsafe, unsafe + (n < 64 ? n : 0));
  static const com::InterfaceEntry<StandinControl> kTable[] = {
      {&IID_IObjectSafety, com::CastTo<StandinControl, IObjectSafety>},
  };
  if (names.find(Component()) != std::string::npos) {
    return com::OleControl::QueryExtraInterface(iid, out);
  }
  return com::QueryFromTable(this, kTable, iid, out);
}

STDMETHODIMP StandinControl::GetInterfaceSafetyOptions(REFIID, DWORD* supported,
                                                       DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  *supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  *enabled = *supported;
  return S_OK;
}

STDMETHODIMP StandinControl::SetInterfaceSafetyOptions(REFIID, DWORD mask, DWORD) {
  return (mask & ~(INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA)) == 0
             ? S_OK
             : E_FAIL;
}

void StandinControl::OnPut(const com::DispMember&, const VARIANT&) {}

HRESULT StandinControl::OnCall(const com::DispMember&, const std::vector<VARIANT*>&, VARIANT*) {
  return S_OK;
}

void StandinControl::Seed(DISPID id, const VARIANT& value) { values_[id].CopyFrom(value); }

void StandinControl::SeedLong(DISPID id, int32_t value) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  Seed(id, v);
}

const VARIANT* StandinControl::Stored(DISPID id) const {
  const auto it = values_.find(id);
  return it == values_.end() ? nullptr : it->second.Get();
}

int32_t StandinControl::StoredLong(DISPID id, int32_t def) const {
  const VARIANT* v = Stored(id);
  return v && V_VT(v) == VT_I4 ? V_I4(v) : def;
}

bool StandinControl::StoredBool(DISPID id) const {
  const VARIANT* v = Stored(id);
  return v && V_VT(v) == VT_BOOL && V_BOOL(v) != VARIANT_FALSE;
}

std::wstring StandinControl::StoredText(DISPID id) const {
  const VARIANT* v = Stored(id);
  if (!v || V_VT(v) != VT_BSTR || !V_BSTR(v)) return {};
  return std::wstring(V_BSTR(v), SysStringLen(V_BSTR(v)));
}

HRESULT StandinControl::GetMember(const com::DispMember& member, VARIANT* result) {
  if (const VARIANT* stored = Stored(member.id)) {
    VariantCopy(result, const_cast<VARIANT*>(stored));
  } else {
    // Never put: the empty value of the member's type.
    VARIANT empty;
    VariantInit(&empty);
    VariantChangeType(result, &empty, 0, member.type);
  }
  LogCall(Component(), member.id, member.name, "get", LogText(*result));
  return S_OK;
}

HRESULT StandinControl::PutMember(const com::DispMember& member, const VARIANT& value) {
  values_[member.id].CopyFrom(value);
  LogCall(Component(), member.id, member.name, "put", LogText(value));
  OnPut(member, value);
  if (Window()) InvalidateRect(Window(), nullptr, FALSE);
  return S_OK;
}

HRESULT StandinControl::CallMember(const com::DispMember& member,
                                   const std::vector<VARIANT*>& args, VARIANT* result) {
  const std::string given = LogText(args);
  const HRESULT hr = OnCall(member, args, result);
  const std::string answer = V_VT(result) == VT_EMPTY ? "" : " -> " + LogText(*result);
  LogCall(Component(), member.id, member.name, "call", given + answer);
  if (Window()) InvalidateRect(Window(), nullptr, FALSE);
  return hr;
}

void StandinControl::PostEvent(DISPID id, std::vector<EventArg> args) {
  pending_.push_back({id, std::move(args)});
  if (Window()) {
    PostMessageW(Window(), kWmFireEvents, 0, 0);
  } else {
    FirePending();
  }
}

void StandinControl::FirePending() {
  std::vector<PendingEvent> events;
  events.swap(pending_);
  for (const PendingEvent& e : events) {
    std::vector<VARIANT> args;
    std::string text;
    for (const EventArg& a : e.args) {
      VARIANT v;
      V_VT(&v) = a.vt;
      if (a.vt == VT_I2) {
        V_I2(&v) = static_cast<SHORT>(a.value);
      } else {
        V_I4(&v) = a.value;
      }
      args.push_back(v);
      text += (text.empty() ? "" : ",") + std::to_string(a.value);
    }
    LogCall(Component(), e.id, L"", "event", text);
    FireEvent(e.id, args);
  }
}

bool StandinControl::OnCreateWindow(const CREATESTRUCTW&) {
  if (!pending_.empty()) PostMessageW(Window(), kWmFireEvents, 0, 0);
  return true;
}

LRESULT StandinControl::OnWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
  if (msg != kWmFireEvents) return 0;
  handled = true;
  // The control stays alive through the events' calls into the container.
  com::ComPtr<IUnknown> hold(Identity());
  FirePending();
  return 0;
}

}  // namespace pel::standin
