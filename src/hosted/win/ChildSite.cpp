#include "hosted/win/ChildSite.h"

#include <olectl.h>

#include "com/ComObject.h"

namespace pel::win {

HRESULT ChildSite::QueryInterfaceImpl(REFIID iid, void** out) {
  static const com::InterfaceEntry<ChildSite> kTable[] = {
      {&IID_IOleClientSite, com::CastTo<ChildSite, IOleClientSite>},
      {&IID_IOleWindow, com::CastTo<ChildSite, IOleInPlaceSite>},
      {&IID_IOleInPlaceSite, com::CastTo<ChildSite, IOleInPlaceSite>},
      {&IID_IOleInPlaceUIWindow, com::CastTo<ChildSite, IOleInPlaceFrame>},
      {&IID_IOleInPlaceFrame, com::CastTo<ChildSite, IOleInPlaceFrame>},
      {&IID_IOleControlSite, com::CastTo<ChildSite, IOleControlSite>},
      {&IID_IDispatch, com::CastTo<ChildSite, IDispatch>},
      {&IID_IServiceProvider, com::CastTo<ChildSite, IServiceProvider>},
  };
  return com::QueryFromTable(this, kTable, iid, out);
}

STDMETHODIMP ChildSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ChildSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ChildSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = parent_;
  return S_OK;
}

STDMETHODIMP ChildSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                         LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
  *frame = this;
  static_cast<IOleInPlaceFrame*>(this)->AddRef();
  *doc = nullptr;
  *pos = pos_;
  *clip = pos_;
  info->fMDIApp = FALSE;
  info->hwndFrame = parent_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP ChildSite::OnPosRectChange(LPCRECT pos) {
  if (!pos) return E_POINTER;
  pos_ = *pos;
  return S_OK;
}

STDMETHODIMP ChildSite::GetExtendedControl(IDispatch** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ChildSite::QueryService(REFGUID service, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  com::ComPtr<IServiceProvider> services;
  if (!outer_ || FAILED(outer_.As(IID_IServiceProvider, services)) || !services) {
    return E_NOINTERFACE;
  }
  return services->QueryService(service, iid, out);
}

STDMETHODIMP ChildSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
  if (ids) {
    for (UINT k = 0; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  }
  return DISP_E_UNKNOWNNAME;
}

// The font of the control's own dialogs, as a new font object for each asker.
HRESULT ChildSite::AmbientFont(VARIANT* result) {
  wchar_t face[] = L"MS Shell Dlg";
  FONTDESC desc = {};
  desc.cbSizeofstruct = sizeof(FONTDESC);
  desc.lpstrName = face;
  desc.cySize.int64 = 80000;  // 8 points, in units of 1/10000 point
  desc.sWeight = FW_NORMAL;
  desc.sCharset = DEFAULT_CHARSET;
  IFontDisp* font = nullptr;
  const HRESULT hr = OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font));
  if (FAILED(hr) || !font) return FAILED(hr) ? hr : E_FAIL;
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = font;
  return S_OK;
}

STDMETHODIMP ChildSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                               VARIANT* result, EXCEPINFO*, UINT*) {
  if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (!result) return E_POINTER;
  VariantInit(result);
  switch (id) {
    case DISPID_AMBIENT_USERMODE:
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = VARIANT_TRUE;
      return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = VARIANT_FALSE;
      return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
      V_VT(result) = VT_I4;
      V_I4(result) = static_cast<LONG>(0x80000000u | COLOR_WINDOW);
      return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
      V_VT(result) = VT_I4;
      V_I4(result) = static_cast<LONG>(0x80000000u | COLOR_WINDOWTEXT);
      return S_OK;
    case DISPID_AMBIENT_FONT:
      return AmbientFont(result);
    case DISPID_AMBIENT_LOCALEID:
      V_VT(result) = VT_I4;
      V_I4(result) = static_cast<LONG>(GetUserDefaultLCID());
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace pel::win
