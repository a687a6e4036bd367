#include "pane/win/SkinAccessible.h"

#include "com/ComObject.h"

// The interface is named by __uuidof: mingw-w64's uuid and oleacc libraries both define
// IID_IAccessible, and a module that names it does not link.

namespace pel::win {

namespace {

HRESULT Text(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT Number(long value, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

}  // namespace

SkinAccessible::SkinAccessible(com::ComPtr<IAccessible> standard, AccessibleLinkRef link)
    : standard_(std::move(standard)), link_(std::move(link)) {}

HRESULT SkinAccessible::QueryInterfaceImpl(REFIID iid, void** out) {
  static const com::InterfaceEntry<SkinAccessible> kTable[] = {
      {&__uuidof(IAccessible), com::CastTo<SkinAccessible, IAccessible>},
      {&IID_IDispatch, com::CastTo<SkinAccessible, IAccessible>},
  };
  return com::QueryFromTable(this, kTable, iid, out);
}

IAccessibleSource* SkinAccessible::Self(const VARIANT& child, HRESULT& failure) const {
  failure = S_OK;
  if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return nullptr;
  IAccessibleSource* source = link_->source();
  if (source == nullptr) failure = RPC_E_DISCONNECTED;
  return source;
}

// ---- IDispatch: the standard object's (oleacc's type information)

STDMETHODIMP SkinAccessible::GetTypeInfoCount(UINT* count) {
  return standard_->GetTypeInfoCount(count);
}
STDMETHODIMP SkinAccessible::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
  return standard_->GetTypeInfo(index, lcid, info);
}
STDMETHODIMP SkinAccessible::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                           DISPID* ids) {
  return standard_->GetIDsOfNames(iid, names, count, lcid, ids);
}
STDMETHODIMP SkinAccessible::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                    DISPPARAMS* params, VARIANT* result, EXCEPINFO* error,
                                    UINT* argErr) {
  return standard_->Invoke(id, iid, lcid, flags, params, result, error, argErr);
}

// ---- IAccessible: the window's own facts for itself

STDMETHODIMP SkinAccessible::get_accName(VARIANT child, BSTR* name) {
  HRESULT failure;
  if (IAccessibleSource* source = Self(child, failure)) return Text(source->Facts().name, name);
  return FAILED(failure) ? failure : standard_->get_accName(child, name);
}

STDMETHODIMP SkinAccessible::get_accValue(VARIANT child, BSTR* value) {
  HRESULT failure;
  if (IAccessibleSource* source = Self(child, failure)) {
    const std::wstring text = source->Facts().value;
    if (!text.empty()) return Text(text, value);
  }
  return FAILED(failure) ? failure : standard_->get_accValue(child, value);
}

STDMETHODIMP SkinAccessible::get_accRole(VARIANT child, VARIANT* role) {
  HRESULT failure;
  if (IAccessibleSource* source = Self(child, failure)) return Number(source->Facts().role, role);
  return FAILED(failure) ? failure : standard_->get_accRole(child, role);
}

STDMETHODIMP SkinAccessible::get_accState(VARIANT child, VARIANT* state) {
  HRESULT failure;
  if (IAccessibleSource* source = Self(child, failure)) {
    return Number(source->Facts().state, state);
  }
  return FAILED(failure) ? failure : standard_->get_accState(child, state);
}

STDMETHODIMP SkinAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  HRESULT failure;
  if (IAccessibleSource* source = Self(child, failure)) {
    return Text(source->Facts().defaultAction, action);
  }
  return FAILED(failure) ? failure : standard_->get_accDefaultAction(child, action);
}

STDMETHODIMP SkinAccessible::accDoDefaultAction(VARIANT child) {
  HRESULT failure;
  if (IAccessibleSource* source = Self(child, failure)) {
    return source->DoDefaultAction() ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  return FAILED(failure) ? failure : standard_->accDoDefaultAction(child);
}

// ---- IAccessible: the standard object's answers

STDMETHODIMP SkinAccessible::get_accParent(IDispatch** parent) {
  return standard_->get_accParent(parent);
}
STDMETHODIMP SkinAccessible::get_accChildCount(LONG* count) {
  return standard_->get_accChildCount(count);
}
STDMETHODIMP SkinAccessible::get_accChild(VARIANT child, IDispatch** out) {
  return standard_->get_accChild(child, out);
}
STDMETHODIMP SkinAccessible::get_accDescription(VARIANT child, BSTR* text) {
  return standard_->get_accDescription(child, text);
}
STDMETHODIMP SkinAccessible::get_accHelp(VARIANT child, BSTR* help) {
  return standard_->get_accHelp(child, help);
}
STDMETHODIMP SkinAccessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  return standard_->get_accHelpTopic(file, child, topic);
}
STDMETHODIMP SkinAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
  return standard_->get_accKeyboardShortcut(child, keys);
}
STDMETHODIMP SkinAccessible::get_accFocus(VARIANT* child) { return standard_->get_accFocus(child); }
STDMETHODIMP SkinAccessible::get_accSelection(VARIANT* children) {
  return standard_->get_accSelection(children);
}
STDMETHODIMP SkinAccessible::accSelect(LONG flags, VARIANT child) {
  return standard_->accSelect(flags, child);
}
STDMETHODIMP SkinAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                         VARIANT child) {
  return standard_->accLocation(left, top, width, height, child);
}
STDMETHODIMP SkinAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  return standard_->accNavigate(direction, start, end);
}
STDMETHODIMP SkinAccessible::accHitTest(LONG left, LONG top, VARIANT* child) {
  return standard_->accHitTest(left, top, child);
}
STDMETHODIMP SkinAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
STDMETHODIMP SkinAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleLinkRef& link) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT || !link) return 0;
  com::ComPtr<IAccessible> standard;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                       standard.PutVoid()))) {
    return 0;
  }
  com::ComPtr<com::ComObject<SkinAccessible>> object =
      com::MakeComObject<SkinAccessible>(std::move(standard), link);
  if (!object) return 0;
  // LresultFromObject takes its own reference; ours goes with `object`.
  const LRESULT result =
      LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object.Get()));
  return result < 0 ? 0 : result;
}

}  // namespace pel::win
