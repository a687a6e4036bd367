// The component's identity, its dispatch interface, its connection points and its events.
#include "StrictControl.h"

#include <olectl.h>

#include <cwchar>

#include "DispatchRules.h"
#include "Enumerator.h"
#include "StrictLog.h"

namespace strict {

StrictControl::StrictControl(const ComponentInfo& info, std::vector<Member> members)
    : info_(info),
      members_(std::move(members)),
      propertyNotify_(this, IID_IPropertyNotifySink),
      events_(this, *info.eventsIid) {
  // The natural size in HIMETRIC, at 96 pixels to the inch.
  extent_.cx = MulDiv(info.size.cx, 2540, 96);
  extent_.cy = MulDiv(info.size.cy, 2540, 96);
}

StrictControl::~StrictControl() {
  window_.Destroy();
  propertyNotify_.UnadviseAll();
  events_.UnadviseAll();
}

STDMETHODIMP StrictControl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(iid, IID_IOleObject)) {
    *out = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject)) {
    *out = static_cast<IOleInPlaceObject*>(this);
  } else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) {
    *out = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (IsEqualIID(iid, IID_IOleControl)) {
    *out = static_cast<IOleControl*>(this);
  } else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2)) {
    *out = static_cast<IViewObject2*>(this);
  } else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit)) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else if (info_.classInfo &&
             (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2))) {
    *out = static_cast<IProvideClassInfo2*>(this);
  } else if (IsEqualIID(iid, IID_IObjectSafety)) {
    *out = static_cast<IObjectSafety*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) StrictControl::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

STDMETHODIMP_(ULONG) StrictControl::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// ---- IDispatch

STDMETHODIMP StrictControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP StrictControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP StrictControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT k = 0; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  for (const Member& m : members_) {
    if (names[0] && _wcsicmp(names[0], m.name.c_str()) == 0) {
      ids[0] = m.id;
      // Named parameters are not served.
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP StrictControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* argErr) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  const DISPPARAMS& given = params ? *params : none;
  const Member* member = Find(id);
  const std::vector<VARIANT*> args = DeclaredOrder(given);
  Verdict verdict = IsEqualIID(iid, IID_NULL) ? JudgeInvoke(member, flags, given)
                                              : Verdict{DISP_E_UNKNOWNINTERFACE, Action::kGet, 0};
  if (SUCCEEDED(verdict.hr) && verdict.action == Action::kGet && !result) verdict.hr = E_POINTER;
  if (FAILED(verdict.hr)) {
    if (verdict.hr == DISP_E_TYPEMISMATCH && argErr) *argErr = verdict.argErr;
    LogLine(Component(), id, member ? member->name : std::wstring(), "refused",
            HresultText(verdict.hr), VarTypesText(args));
    return verdict.hr;
  }
  // The component stays alive through what its calls set off in the container.
  const ComRef<IUnknown> hold = ComRef<IUnknown>::Retain(Identity());
  switch (verdict.action) {
    case Action::kPut: return DoPut(*member, given.rgvarg[0]);
    case Action::kGet: return DoGet(*member, result);
    case Action::kCall: break;
  }
  OwnedVariant discarded;
  return DoCall(*member, args, result ? result : discarded.Ptr());
}

const Member* StrictControl::Find(DISPID id) const {
  for (const Member& m : members_) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

HRESULT StrictControl::DoGet(const Member& member, VARIANT* result) {
  VariantInit(result);
  if (const VARIANT* stored = Stored(member.id)) {
    VariantCopy(result, const_cast<VARIANT*>(stored));
  } else {
    // Never put: the empty value of the member's type.
    VARIANT empty;
    VariantInit(&empty);
    VariantChangeType(result, &empty, 0, member.type);
  }
  LogLine(Component(), member.id, member.name, "get", ValueText(*result));
  return S_OK;
}

HRESULT StrictControl::DoPut(const Member& member, const VARIANT& value) {
  values_[member.id] = OwnedVariant(value);
  LogLine(Component(), member.id, member.name, "put", ValueText(value),
          std::to_string(V_VT(&value)));
  OnPut(member, value);
  if (Window()) InvalidateRect(Window(), nullptr, FALSE);
  NotifyChanged(member.id);
  return S_OK;
}

HRESULT StrictControl::DoCall(const Member& member, const std::vector<VARIANT*>& args,
                              VARIANT* result) {
  VariantInit(result);
  const std::string given = ArgsText(args);
  const HRESULT hr = OnCall(member, args, result);
  const std::string answer = V_VT(result) == VT_EMPTY ? "" : " -> " + ValueText(*result);
  LogLine(Component(), member.id, member.name, "call", given + answer, VarTypesText(args));
  if (Window()) InvalidateRect(Window(), nullptr, FALSE);
  return hr;
}

// Through each sink's own IPropertyNotifySink, as every frame calls it.
void StrictControl::NotifyChanged(DISPID id) {
  for (const ComRef<IUnknown>& sink : propertyNotify_.Sinks()) {
    static_cast<IPropertyNotifySink*>(static_cast<void*>(sink.Get()))->OnChanged(id);
  }
}

const VARIANT* StrictControl::Stored(DISPID id) const {
  const auto it = values_.find(id);
  return it == values_.end() ? nullptr : &it->second.Get();
}

LONG StrictControl::StoredLong(DISPID id, LONG def) const {
  const VARIANT* v = Stored(id);
  return v && V_VT(v) == VT_I4 ? V_I4(v) : def;
}

bool StrictControl::StoredBool(DISPID id) const {
  const VARIANT* v = Stored(id);
  return v && V_VT(v) == VT_BOOL && V_BOOL(v) != VARIANT_FALSE;
}

std::wstring StrictControl::StoredText(DISPID id) const {
  const VARIANT* v = Stored(id);
  if (!v || V_VT(v) != VT_BSTR || !V_BSTR(v)) return {};
  return std::wstring(V_BSTR(v), SysStringLen(V_BSTR(v)));
}

// ---- connection points and events

STDMETHODIMP StrictControl::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  // Property change notifications first, as the usual frames list them.
  auto e = MakeObject<PointEnumerator>(
      std::vector<ComRef<IUnknown>>{ComRef<IUnknown>::Retain(Identity())},
      std::vector<IConnectionPoint*>{&propertyNotify_, &events_});
  *out = e.Detach();
  return *out ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP StrictControl::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (ConnectionPoint* point : {&propertyNotify_, &events_}) {
    if (IsEqualIID(iid, point->Iid())) {
      *out = point;
      point->AddRef();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP StrictControl::GetClassInfo(ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP StrictControl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = GUID_NULL;
    return E_INVALIDARG;
  }
  *guid = *info_.eventsIid;
  return S_OK;
}

void StrictControl::PostEvent(DISPID id, const wchar_t* name, std::vector<OwnedVariant> args) {
  pending_.push_back({id, name, std::move(args)});
  if (Window()) {
    PostMessageW(Window(), kWmFireEvents, 0, 0);
  } else {
    FirePending();
  }
}

void StrictControl::FirePending() {
  const ComRef<IUnknown> hold = ComRef<IUnknown>::Retain(Identity());
  std::vector<PendingEvent> events;
  events.swap(pending_);
  for (PendingEvent& e : events) {
    std::vector<VARIANT*> declared;
    for (OwnedVariant& a : e.args) declared.push_back(a.Ptr());
    LogLine(Component(), e.id, e.name, "event", ArgsText(declared), VarTypesText(declared));
    // rgvarg holds the arguments last to first; the sinks may not change them.
    std::vector<VARIANT> reversed;
    for (auto it = e.args.rbegin(); it != e.args.rend(); ++it) reversed.push_back(it->Get());
    for (const ComRef<IUnknown>& sink : events_.Sinks()) {
      DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                           static_cast<UINT>(reversed.size()), 0};
      auto* dispatch = static_cast<IDispatch*>(static_cast<void*>(sink.Get()));
      const HRESULT hr = dispatch->Invoke(e.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                          &params, nullptr, nullptr, nullptr);
      LogLine(Component(), e.id, e.name, "delivered", HresultText(hr));
    }
  }
}

// ---- the window

LRESULT StrictControl::OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kWmFireEvents:
      FirePending();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc, Area());
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      OnClick(POINT{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))});
      return 0;
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(window, *reinterpret_cast<const WINDOWPOS*>(lp));
      break;
    default:
      break;
  }
  return DefWindowProcW(window, msg, wp, lp);
}

}  // namespace strict
