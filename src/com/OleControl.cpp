#include "com/OleControl.h"

#include <olectl.h>

#include "com/ComObject.h"
#include "com/Module.h"
#include "com/PersistExchange.h"

namespace pel::com {

namespace {

constexpr int kHimetricPerInch = 2540;

// Window classes this module registered.
std::vector<const wchar_t*>& RegisteredClasses() {
  static std::vector<const wchar_t*> classes;
  return classes;
}

// The default size is given in 96-DPI pixels: the extent is the same length on every display
// scale, and a container at a higher one gives the control as many more pixels.
SIZEL PixelsToHimetric(SIZE px) {
  constexpr int kLayoutDpi = 96;
  return {MulDiv(px.cx, kHimetricPerInch, kLayoutDpi), MulDiv(px.cy, kHimetricPerInch, kLayoutDpi)};
}

}  // namespace

OleControl::OleControl(const ControlTraits& traits, DispatchTable members)
    : traits_(traits),
      members_(std::move(members)),
      events_(static_cast<IConnectionPointContainer*>(this), *traits.eventIid),
      naturalExtent_(PixelsToHimetric(traits.defaultSize)),
      extent_(naturalExtent_) {}

OleControl::~OleControl() {
  // No hook may run on a half-destroyed control: the window forgets it first.
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

HRESULT OleControl::QueryInterfaceImpl(REFIID iid, void** out) {
  static const InterfaceEntry<OleControl> kTable[] = {
      {&IID_IOleObject, CastTo<OleControl, IOleObject>},
      {&IID_IOleWindow, CastTo<OleControl, IOleInPlaceObject>},
      {&IID_IOleInPlaceObject, CastTo<OleControl, IOleInPlaceObject>},
      {&IID_IOleInPlaceActiveObject, CastTo<OleControl, IOleInPlaceActiveObject>},
      {&IID_IOleControl, CastTo<OleControl, IOleControl>},
      {&IID_IViewObject, CastTo<OleControl, IViewObjectEx>},
      {&IID_IViewObject2, CastTo<OleControl, IViewObjectEx>},
      {&IID_IViewObjectEx, CastTo<OleControl, IViewObjectEx>},
      {&IID_IPersist, CastTo<OleControl, IPersistStreamInit>},
      {&IID_IPersistStreamInit, CastTo<OleControl, IPersistStreamInit>},
      {&IID_IPersistPropertyBag, CastTo<OleControl, IPersistPropertyBag>},
      {&IID_IPersistStorage, CastTo<OleControl, IPersistStorage>},
      {&IID_IPersistMemory, CastTo<OleControl, IPersistMemory>},
      {&IID_IQuickActivate, CastTo<OleControl, IQuickActivate>},
      {&IID_IProvideClassInfo, CastTo<OleControl, IProvideClassInfo2>},
      {&IID_IProvideClassInfo2, CastTo<OleControl, IProvideClassInfo2>},
      {&IID_IConnectionPointContainer, CastTo<OleControl, IConnectionPointContainer>},
      {&IID_IDispatch, CastTo<OleControl, IDispatch>},
  };
  HRESULT hr = QueryFromTable(this, kTable, iid, out);
  if (hr != E_NOINTERFACE) return hr;
  if (traits_.dispatchIid && IsEqualIID(iid, *traits_.dispatchIid)) {
    *out = static_cast<IDispatch*>(this);
    Identity()->AddRef();
    return S_OK;
  }
  return QueryExtraInterface(iid, out);
}

// ---- hooks' defaults

HRESULT OleControl::QueryExtraInterface(REFIID, void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}
void OleControl::ExchangeProperties(IPropertyExchange&) {}
HRESULT OleControl::LoadTypeInfo(REFGUID, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}
bool OleControl::OnCreateWindow(const CREATESTRUCTW&) { return true; }
void OleControl::OnDestroyWindow() {}
void OleControl::OnDraw(HDC, const RECT&) {}
LRESULT OleControl::OnWindowMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

// ---- IOleObject

STDMETHODIMP OleControl::SetClientSite(IOleClientSite* site) {
  // A container that lets go of the control lets go of what quick activation advised for it.
  if (!site) DropQuickActivationAdvise();
  clientSite_ = ComPtr<IOleClientSite>(site);
  return S_OK;
}

STDMETHODIMP OleControl::GetClientSite(IOleClientSite** site) {
  return clientSite_.CopyTo(site);
}

STDMETHODIMP OleControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP OleControl::Close(DWORD saveOption) {
  InPlaceDeactivate();
  if (IsModified() && clientSite_ &&
      (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
    clientSite_->SaveObject();
  }
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

STDMETHODIMP OleControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP OleControl::GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) {
  if (!moniker) return E_POINTER;
  *moniker = nullptr;
  if (!clientSite_) return E_UNEXPECTED;
  return clientSite_->GetMoniker(assign, which, moniker);
}

STDMETHODIMP OleControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP OleControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                                LPCRECT) {
  if (!clientSite_ && activeSite) SetClientSite(activeSite);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(true);
    case OLEIVERB_INPLACEACTIVATE:
      return InPlaceActivate(false);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (window_) ShowWindow(window_, SW_HIDE);
      return S_OK;
    case OLEIVERB_PROPERTIES:
      return ShowPropertyPages();
    default:
      if (verb > 0) {
        const HRESULT hr = InPlaceActivate(true);
        return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
      }
      return E_NOTIMPL;
  }
}

STDMETHODIMP OleControl::EnumVerbs(IEnumOLEVERB** verbs) {
  return OleRegEnumVerbs(*traits_.clsid, verbs);
}

STDMETHODIMP OleControl::Update() { return S_OK; }
STDMETHODIMP OleControl::IsUpToDate() { return S_OK; }

STDMETHODIMP OleControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP OleControl::GetUserType(DWORD form, LPOLESTR* type) {
  return OleRegGetUserType(*traits_.clsid, form, type);
}

STDMETHODIMP OleControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP OleControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP OleControl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!adviseHolder_) {
    const HRESULT hr = CreateOleAdviseHolder(adviseHolder_.Put());
    if (FAILED(hr)) return hr;
  }
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP OleControl::Unadvise(DWORD connection) {
  if (!adviseHolder_) return OLE_E_NOCONNECTION;
  return adviseHolder_->Unadvise(connection);
}

STDMETHODIMP OleControl::EnumAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  if (!adviseHolder_) return S_OK;
  return adviseHolder_->EnumAdvise(advise);
}

STDMETHODIMP OleControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (!status) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? traits_.miscStatus : 0;
  return S_OK;
}

STDMETHODIMP OleControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---- in-place activation

HRESULT OleControl::InPlaceActivate(bool uiActivate) {
  if (!clientSite_) return E_UNEXPECTED;
  if (!inPlaceSite_) {
    ComPtr<IOleInPlaceSite> site;
    if (FAILED(clientSite_.As(IID_IOleInPlaceSite, site))) return OLE_E_NOT_INPLACEACTIVE;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    site->OnInPlaceActivate();
    inPlaceSite_ = site;
  }
  if (!window_) {
    HWND parent = nullptr;
    OLEINPLACEFRAMEINFO frame_info = {};
    frame_info.cb = sizeof(frame_info);
    RECT pos = {0, 0, 0, 0};
    RECT clip = {0, 0, 0, 0};
    if (FAILED(inPlaceSite_->GetWindow(&parent)) ||
        FAILED(inPlaceSite_->GetWindowContext(frame_.Put(), document_.Put(), &pos, &clip,
                                              &frame_info)) ||
        !CreateControlWindow(parent, pos)) {
      frame_.Reset();
      document_.Reset();
      ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
      site->OnInPlaceDeactivate();
      return E_FAIL;
    }
    ShowWindow(window_, SW_SHOW);
  }
  if (uiActivate && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    IOleInPlaceActiveObject* active = this;
    if (frame_) {
      frame_->SetActiveObject(active, nullptr);
      frame_->SetBorderSpace(nullptr);
    }
    if (document_) document_->SetActiveObject(active, nullptr);
    SetFocus(window_);
  }
  return S_OK;
}

bool OleControl::CreateControlWindow(HWND parent, const RECT& pos) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  const HINSTANCE instance = ModuleInstance();
  if (!GetClassInfoExW(instance, traits_.windowClass, &wc)) {
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = traits_.windowClass;
    if (!RegisterClassExW(&wc)) return false;
    RegisteredClasses().push_back(traits_.windowClass);
  }
  posRect_ = pos;
  CreateWindowExW(0, traits_.windowClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, parent,
                  nullptr, instance, this);
  return window_ != nullptr;
}

void OleControl::DestroyControlWindow() {
  if (window_) DestroyWindow(window_);
}

STDMETHODIMP OleControl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP OleControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP OleControl::InPlaceDeactivate() {
  UIDeactivate();
  DestroyControlWindow();
  frame_.Reset();
  document_.Reset();
  if (ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_)) site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP OleControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (document_) document_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP OleControl::SetObjectRects(LPCRECT pos, LPCRECT) {
  // The control uses its whole position rectangle; the container clips it.
  if (!pos) return S_OK;
  posRect_ = *pos;
  if (window_) {
    MoveWindow(window_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top,
               TRUE);
  }
  return S_OK;
}

STDMETHODIMP OleControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

STDMETHODIMP OleControl::TranslateAccelerator(LPMSG) { return S_FALSE; }
STDMETHODIMP OleControl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP OleControl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP OleControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP OleControl::EnableModeless(BOOL) { return S_OK; }

// ---- IOleControl

STDMETHODIMP OleControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  if (info->cb < sizeof(CONTROLINFO)) return E_INVALIDARG;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP OleControl::OnMnemonic(MSG*) { return E_NOTIMPL; }
STDMETHODIMP OleControl::OnAmbientPropertyChange(DISPID) { return S_OK; }

STDMETHODIMP OleControl::FreezeEvents(BOOL freeze) {
  if (freeze) {
    ++frozen_;
  } else if (frozen_ > 0) {
    --frozen_;
  }
  return S_OK;
}

void OleControl::FireEvent(DISPID id, const std::vector<VARIANT>& args) {
  if (frozen_ == 0) events_.Fire(id, args);
}

// ---- IViewObject2

STDMETHODIMP OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc,
                              LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                              ULONG_PTR) {
  // All of the content is opaque, so the opaque aspect is the content.
  if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_OPAQUE) return DV_E_DVASPECT;
  if (!drawDc) return E_INVALIDARG;
  RECT area = {0, 0, 0, 0};
  if (bounds) {
    area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  } else if (window_) {
    GetClientRect(window_, &area);
  } else {
    return E_INVALIDARG;
  }
  OnDraw(drawDc, area);
  return S_OK;
}

STDMETHODIMP OleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                     LOGPALETTE** colors) {
  if (colors) *colors = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP OleControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP OleControl::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = ComPtr<IAdviseSink>(sink);
  quickViewAdvise_ = false;
  return S_OK;
}

STDMETHODIMP OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) viewSink_.CopyTo(sink);
  return S_OK;
}

STDMETHODIMP OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

// ---- persistence

STDMETHODIMP OleControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = *traits_.clsid;
  return S_OK;
}

STDMETHODIMP OleControl::IsDirty() { return IsModified() ? S_OK : S_FALSE; }

STDMETHODIMP OleControl::InitNew() {
  ResetPropExchange reset;
  ExchangeProperties(reset);
  SetModified(false);
  return S_OK;
}

STDMETHODIMP OleControl::Load(LPSTREAM stream) {
  // No stream is the caller's mistake, not a damaged state: the properties stay as they are.
  if (!stream) return E_POINTER;
  std::vector<PropertyRecord> records;
  HRESULT hr = ReadRecordBlock(stream, records);
  if (SUCCEEDED(hr)) {
    RecordLoadExchange exchange(std::move(records), extent_);
    ExchangeProperties(exchange);
    if (!exchange.Succeeded()) hr = E_FAIL;
  }
  if (FAILED(hr)) {
    // A damaged stream, or not a state this control wrote: nothing of it is kept.
    InitNew();
    return hr;
  }
  SetModified(false);
  return S_OK;
}

HRESULT OleControl::SaveRecords(std::vector<PropertyRecord>& records) {
  RecordSaveExchange exchange(extent_);
  ExchangeProperties(exchange);
  records = exchange.Records();
  return S_OK;
}

STDMETHODIMP OleControl::Save(LPSTREAM stream, BOOL clearDirty) {
  std::vector<PropertyRecord> records;
  SaveRecords(records);
  const HRESULT hr = WriteRecordBlock(stream, records);
  if (SUCCEEDED(hr) && clearDirty) SetModified(false);
  return hr;
}

STDMETHODIMP OleControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  std::vector<PropertyRecord> records;
  SaveRecords(records);
  size->QuadPart = RecordBlockSize(records);
  return S_OK;
}

STDMETHODIMP OleControl::Load(IPropertyBag* bag, IErrorLog*) {
  if (!bag) return E_POINTER;
  BagExchange exchange(bag, true, extent_);
  ExchangeProperties(exchange);
  SetModified(false);
  return S_OK;
}

STDMETHODIMP OleControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
  if (!bag) return E_POINTER;
  BagExchange exchange(bag, false, extent_);
  ExchangeProperties(exchange);
  if (!exchange.Succeeded()) return E_FAIL;
  if (clearDirty) SetModified(false);
  return S_OK;
}

// ---- class information and events

STDMETHODIMP OleControl::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  return LoadTypeInfo(*traits_.clsid, info);
}

STDMETHODIMP OleControl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = GUID_NULL;
    return E_INVALIDARG;
  }
  *guid = *traits_.eventIid;
  return S_OK;
}

STDMETHODIMP OleControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  return EnumerateConnectionPoints({&events_}, points);
}

STDMETHODIMP OleControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, events_.Iid())) return CONNECT_E_NOCONNECTION;
  *point = &events_;
  events_.AddRef();
  return S_OK;
}

// ---- IDispatch

STDMETHODIMP OleControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  if (traits_.dispatchIid) {
    ComPtr<ITypeInfo> info;
    if (SUCCEEDED(LoadTypeInfo(*traits_.dispatchIid, info.Put()))) *count = 1;
  }
  return S_OK;
}

STDMETHODIMP OleControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (!traits_.dispatchIid) return E_NOTIMPL;
  return LoadTypeInfo(*traits_.dispatchIid, info);
}

STDMETHODIMP OleControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                       DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return members_.GetIDsOfNames(names, count, ids);
}

STDMETHODIMP OleControl::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                UINT* argErr) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  // The control stays alive through a call that may reach the container.
  ComPtr<IUnknown> hold(Identity());
  return members_.Invoke(*this, id, lcid, flags, params, result, argErr);
}

// ---- property pages and dialogs

HWND OleControl::DialogParent() const {
  if (window_) return window_;
  HWND parent = nullptr;
  if (inPlaceSite_ && SUCCEEDED(inPlaceSite_->GetWindow(&parent))) return parent;
  return nullptr;
}

HRESULT OleControl::ShowPropertyPages() {
  ComPtr<ISpecifyPropertyPages> specify;
  if (FAILED(QueryInterfaceImpl(IID_ISpecifyPropertyPages, specify.PutVoid()))) {
    return E_NOTIMPL;
  }
  CAUUID pages = {0, nullptr};
  HRESULT hr = specify->GetPages(&pages);
  if (FAILED(hr)) return hr;
  // A frame whose pages cannot be made would stand empty: say why instead.
  for (ULONG k = 0; k < pages.cElems && SUCCEEDED(hr); ++k) {
    ComPtr<IClassFactory> factory;
    hr = CoGetClassObject(pages.pElems[k], CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                          factory.PutVoid());
  }
  if (FAILED(hr)) {
    CoTaskMemFree(pages.pElems);
    return hr;
  }
  LPOLESTR caption = nullptr;
  OleRegGetUserType(*traits_.clsid, USERCLASSTYPE_SHORT, &caption);
  IUnknown* object = Identity();
  hr = OleCreatePropertyFrame(DialogParent(), 0, 0, caption, 1, &object, pages.cElems,
                              pages.pElems, LOCALE_USER_DEFAULT, 0, nullptr);
  CoTaskMemFree(caption);
  CoTaskMemFree(pages.pElems);
  return hr;
}

// ---- the control window

LRESULT CALLBACK OleControl::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* control = static_cast<OleControl*>(create->lpCreateParams);
    control->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
  }
  auto* control = reinterpret_cast<OleControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!control) return DefWindowProcW(hwnd, msg, wp, lp);
  return control->HandleMessage(msg, wp, lp);
}

LRESULT OleControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = window_;
  switch (msg) {
    case WM_CREATE:
      return OnCreateWindow(*reinterpret_cast<CREATESTRUCTW*>(lp)) ? 0 : -1;
    case WM_DESTROY:
      OnDestroyWindow();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      window_ = nullptr;
      return DefWindowProcW(hwnd, msg, wp, lp);
    default:
      break;
  }
  bool handled = false;
  const LRESULT result = OnWindowMessage(msg, wp, lp, handled);
  if (handled) return result;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      OnDraw(dc, client);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      if (!uiActive_) InPlaceActivate(true);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void UnregisterControlWindowClasses() {
  for (const wchar_t* name : RegisteredClasses()) UnregisterClassW(name, ModuleInstance());
  RegisteredClasses().clear();
}

}  // namespace pel::com
