#include "control/win/PelioranControl.h"

#include <windowsx.h>

#include "Common/win/DisplaySettings.h"
#include "control/ObjectSafety.h"
#include "control/win/AboutBox.h"
#include "control/win/Identities.h"
#include "com/VariantConvert.h"
#include "com/BStr.h"
#include "com/ComObject.h"
#include "com/Module.h"
// The DLL's assembly may include every room: it ends the pane's modeless dialogs with the control.
#include "pane/win/dialogs/ModelessDialog.h"
#include "trust/win/RequireTlsPolicy.h"
#include "trust/win/SiteLockInputs.h"

namespace pel::win {

namespace {

const com::ControlTraits kTraits = {
    &CLSID_Pelioran,
    &DIID__DPelioran,
    &DIID__DPelioranEvents,
    kControlMiscStatus,
    // Room for the pane and the widest viewer.
    {1290, 710},
    L"PelioranCtrlWindow",
};

// Where the refusal line starts in the control's window.
constexpr int kRefusalMargin = 10;

// _DPelioran: the core's properties in DISPID order, then the About box.
com::DispatchTable MakeMembers() {
  std::vector<com::DispMember> members;
  for (const PropertyInfo& p : PropertyTable()) {
    members.push_back({p.dispid, com::WideFromAnsi(p.name), com::MemberKind::kProperty,
                       static_cast<VARTYPE>(p.vt), {}});
  }
  members.push_back({kDispidAboutBox, L"AboutBox", com::MemberKind::kMethod, VT_EMPTY, {}});
  return com::DispatchTable(std::move(members));
}

}  // namespace

PelioranControl::PelioranControl()
    : com::OleControl(kTraits, MakeMembers()),
      messages_([this] { return DialogParent(); }),
      controlWindow_([this] { return Window(); },
                     [this] { return children_ ? &children_->Viewer() : nullptr; }),
      ctrl_(ControlPorts{messages_, controlWindow_, proxySetting_, LookupHostIPv4,
                         ReadRequireTlsPolicy}) {}

PelioranControl::~PelioranControl() { DestroyControlWindow(); }

HRESULT PelioranControl::QueryExtraInterface(REFIID iid, void** out) {
  static const com::InterfaceEntry<PelioranControl> kTable[] = {
      {&IID_IObjectSafety, com::CastTo<PelioranControl, IObjectSafety>},
      {&IID_ISpecifyPropertyPages, com::CastTo<PelioranControl, ISpecifyPropertyPages>},
  };
  return com::QueryFromTable(this, kTable, iid, out);
}

bool PelioranControl::HasInterface(REFIID iid) {
  com::ComPtr<IUnknown> found;
  return SUCCEEDED(QueryInterfaceImpl(iid, found.PutVoid()));
}

// ---- IObjectSafety

STDMETHODIMP PelioranControl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                                        DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  uint32_t s = 0;
  uint32_t e = 0;
  const HRESULT hr = object_safety::GetInterfaceSafetyOptions(HasInterface(iid), &s, &e);
  *supported = s;
  *enabled = e;
  return hr;
}

STDMETHODIMP PelioranControl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  const HRESULT hr = object_safety::SetInterfaceSafetyOptions(HasInterface(iid), mask, enabled);
  if (SUCCEEDED(hr) && PageRefused(iid)) return E_FAIL;
  return hr;
}

bool PelioranControl::PageRefused(REFIID iid) {
  // Scripting comes after the page's <param> tags were loaded: strIpAddr is what the page
  // wrote. Before initialisation it is not known yet.
  const bool scripting = iid == IID_IDispatch || iid == DIID__DPelioran;
  std::unique_ptr<WebBrowserHost> browser = FindHostBrowser(ClientSite());
  return !ctrl_.JudgeSite(GatherSiteLockInputs(ClientSite(), browser.get()), scripting).allowed;
}

// ---- ISpecifyPropertyPages

STDMETHODIMP PelioranControl::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) {
    pages->cElems = 0;
    return E_OUTOFMEMORY;
  }
  pages->cElems = 1;
  pages->pElems[0] = kClsidPelioranPropPage;
  return S_OK;
}

STDMETHODIMP PelioranControl::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (!pos) return S_OK;
  const Rect position{pos->left, pos->top, pos->right, pos->bottom};
  const InPlacePlacement place = PlaceInPlace(position);
  if (Window()) {
    MoveWindow(Window(), place.x, place.y, place.width, place.height, TRUE);
  }
  return S_OK;
}

STDMETHODIMP PelioranControl::TranslateAccelerator(LPMSG msg) {
  if (msg && ModelessDialog::TranslateDialogMessage(*msg)) return S_OK;
  if (msg && children_ && children_->TranslatePaneKey(*msg)) return S_OK;
  return com::OleControl::TranslateAccelerator(msg);
}

STDMETHODIMP PelioranControl::GetControlInfo(CONTROLINFO* info) {
  const HRESULT hr = com::OleControl::GetControlInfo(info);
  if (SUCCEEDED(hr)) info->dwFlags = CTRLINFO_EATS_RETURN;
  return hr;
}

// ---- persistence and type information

void PelioranControl::ExchangeProperties(IPropertyExchange& exchange) {
  ctrl_.DoPropExchange(exchange);
}

HRESULT PelioranControl::LoadTypeInfo(REFGUID guid, ITypeInfo** info) {
  *info = nullptr;
  if (!typeLib_) {
    const HRESULT hr = LoadTypeLibEx(com::ModulePath().c_str(), REGKIND_NONE, typeLib_.Put());
    if (FAILED(hr)) return hr;
  }
  return typeLib_->GetTypeInfoOfGuid(guid, info);
}

// ---- _DPelioran

HRESULT PelioranControl::GetMember(const com::DispMember& member, VARIANT* result) {
  return ToComVariant(ctrl_.GetProperty(member.id), result);
}

HRESULT PelioranControl::PutMember(const com::DispMember& member, const VARIANT& value) {
  switch (ctrl_.PutProperty(member.id, FromComVariant(value))) {
    case PutResult::kOk:
      return S_OK;
    case PutResult::kTypeMismatch:
      return DISP_E_TYPEMISMATCH;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT PelioranControl::CallMember(const com::DispMember& member,
                                    const std::vector<VARIANT*>&, VARIANT*) {
  if (member.id != kDispidAboutBox) return DISP_E_MEMBERNOTFOUND;
  ShowAboutBox(DialogParent());
  return S_OK;
}

// ---- the control window

bool PelioranControl::OnCreateWindow(const CREATESTRUCTW& create) {
  // The browser found for this window replaces the previous one only after the core has
  // taken it.
  std::unique_ptr<WebBrowserHost> browser = FindHostBrowser(ClientSite());
  StartParams params{create.x, create.y, browser.get(),
                     GatherSiteLockInputs(ClientSite(), browser.get()), WindowDpi(Window())};
  const bool started = StartSequence(params);
  hostBrowser_ = std::move(browser);
  // The refused page's line, also as the window's text for those who read windows.
  if (started && !ctrl_.SiteAllowed()) {
    SetWindowTextW(Window(), com::WideFromAnsi(ctrl_.RefusalLine()).c_str());
  }
  return started;
}

bool PelioranControl::StartSequence(const StartParams& params) {
  children_ = std::make_unique<WinControlChildren>(
      Window(), ctrl_, messages_,
      HostingContext{com::ComPtr<IOleClientSite>(ClientSite()), params.hostBrowser != nullptr});
  if (ctrl_.Start(params, *children_)) return true;
  children_.reset();
  return false;
}

void PelioranControl::OnDestroyWindow() {
  children_.reset();
  com::OleControl::OnDestroyWindow();
}

void PelioranControl::OnDraw(HDC dc, const RECT& bounds) {
  const ControlDrawing d =
      ctrl_.Drawing(Rect{bounds.left, bounds.top, bounds.right, bounds.bottom});
  HBRUSH fill = CreateSolidBrush(d.fillColor);
  const RECT area = {d.fill.left, d.fill.top, d.fill.right, d.fill.bottom};
  FillRect(dc, &area, fill);
  DeleteObject(fill);
  if (ctrl_.SiteAllowed()) {
    Rectangle(dc, d.divider.left, d.divider.top, d.divider.right, d.divider.bottom);
    return;
  }
  // A refused page has neither pane nor viewer: the window holds only the refusal line.
  const std::wstring line = com::WideFromAnsi(ctrl_.RefusalLine());
  RECT text = {bounds.left + kRefusalMargin, bounds.top + kRefusalMargin,
               bounds.right - kRefusalMargin, bounds.bottom};
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &text,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

LRESULT PelioranControl::OnWindowMessage(UINT msg, WPARAM, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_MOVE:
      ctrl_.OnMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_SIZE:
      ctrl_.OnSize(LOWORD(lp), HIWORD(lp));
      break;
    case WM_SETFOCUS:
      // The control window takes no keys itself: the focus goes on to the pane, at its last
      // control when the container tabbed backwards into the control.
      if (children_ && children_->FocusPane(GetKeyState(VK_SHIFT) < 0)) {
        handled = true;
        return 0;
      }
      break;
    case IControlWindow::kWmCameraLayout:
      ctrl_.OnCameraLayout();
      handled = true;
      return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      // Sent to top-level windows only: the container hands them on to its controls.
      if (children_) children_->DisplaySettingsChanged();
      break;
    default:
      break;
  }
  return 0;
}

HRESULT CreatePelioranControl(REFIID iid, void** out) {
  return com::CreateComObject<PelioranControl>(iid, out);
}

}  // namespace pel::win
