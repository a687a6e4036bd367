#pragma once

#include <windows.h>
#include <oleacc.h>

#include "com/ComPtr.h"
#include "pane/win/AccessibleSource.h"

namespace pel::win {

// The IAccessible of a skinned pane window: name, role, state, value and default action come
// from the window's source, everything else (place, parent, navigation, the parts of a combo
// box) from the system's standard object for the window, which it wraps.
class SkinAccessible : public IAccessible {
 public:
  SkinAccessible(com::ComPtr<IAccessible> standard, AccessibleLinkRef link);
  SkinAccessible(const SkinAccessible&) = delete;
  SkinAccessible& operator=(const SkinAccessible&) = delete;
  virtual ~SkinAccessible() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* error, UINT* argErr) override;

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(LONG* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
  STDMETHODIMP get_accFocus(VARIANT* child) override;
  STDMETHODIMP get_accSelection(VARIANT* children) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override;
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                           VARIANT child) override;
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(LONG left, LONG top, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

 private:
  // The source when `child` is the window itself and its window is still there.
  IAccessibleSource* Self(const VARIANT& child, HRESULT& failure) const;

  com::ComPtr<IAccessible> standard_;
  AccessibleLinkRef link_;
};

// WM_GETOBJECT of a pane window: for the client object, a SkinAccessible over the window's
// standard object, returned through LresultFromObject; 0 (the system's answer) otherwise.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleLinkRef& link);

}  // namespace pel::win
