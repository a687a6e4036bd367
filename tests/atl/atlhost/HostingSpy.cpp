#include "HostingSpy.h"

#include <string>
#include <utility>

#include "ComRef.h"
#include "InterfaceNames.h"
#include "Report.h"
#include "Text.h"

namespace {

std::string QiLine(const char* who, REFIID iid, HRESULT hr) {
  return std::string("spy\t") + who + "\tqi\t" + InterfaceName(iid) + "\t" +
         hostkit::Hex(static_cast<unsigned long>(hr));
}

}  // namespace

// ---- OleObjectSpy

OleObjectSpy::OleObjectSpy(hostkit::ComRef<IUnknown> control, hostkit::ComRef<IOleObject> ole,
                           hostkit::Report& report)
    : control_(std::move(control)), ole_(std::move(ole)), report_(report) {}

HRESULT OleObjectSpy::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  HRESULT hr;
  if (iid == IID_IUnknown || iid == IID_IOleObject) {
    *out = static_cast<IOleObject*>(this);
    AddRef();
    hr = S_OK;
  } else {
    hr = control_->QueryInterface(iid, out);
  }
  report_.Line(QiLine("control", iid, hr));
  return hr;
}

ULONG OleObjectSpy::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG OleObjectSpy::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT OleObjectSpy::Called(const char* method, HRESULT hr) {
  report_.Line(std::string("spy\tcontrol\tcall\t") + method + "\t" +
               hostkit::Hex(static_cast<unsigned long>(hr)));
  return hr;
}

HRESULT OleObjectSpy::SetClientSite(IOleClientSite* site) {
  atl_site_ = hostkit::ComRef<IOleClientSite>::Retain(site);
  site_spy_.Reset();
  if (site) {
    site_spy_ = hostkit::ComRef<IOleClientSite>(
        new ClientSiteSpy(hostkit::ComRef<IOleClientSite>::Retain(site), report_));
  }
  return Called("SetClientSite", ole_->SetClientSite(site_spy_.Get()));
}

HRESULT OleObjectSpy::GetClientSite(IOleClientSite** site) {
  return Called("GetClientSite", ole_->GetClientSite(site));
}

HRESULT OleObjectSpy::SetHostNames(LPCOLESTR app, LPCOLESTR object) {
  return Called("SetHostNames", ole_->SetHostNames(app, object));
}

HRESULT OleObjectSpy::Close(DWORD save_option) {
  return Called("Close", ole_->Close(save_option));
}

HRESULT OleObjectSpy::SetMoniker(DWORD which, IMoniker* moniker) {
  return Called("SetMoniker", ole_->SetMoniker(which, moniker));
}

HRESULT OleObjectSpy::GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) {
  return Called("GetMoniker", ole_->GetMoniker(assign, which, moniker));
}

HRESULT OleObjectSpy::InitFromData(IDataObject* data, BOOL creation, DWORD reserved) {
  return Called("InitFromData", ole_->InitFromData(data, creation, reserved));
}

HRESULT OleObjectSpy::GetClipboardData(DWORD reserved, IDataObject** data) {
  return Called("GetClipboardData", ole_->GetClipboardData(reserved, data));
}

HRESULT OleObjectSpy::DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index,
                             HWND parent, LPCRECT rect) {
  // ATL names its own site here; the control must keep seeing the stand-in for it.
  IOleClientSite* given = site == atl_site_.Get() ? site_spy_.Get() : site;
  HRESULT hr = ole_->DoVerb(verb, msg, given, index, parent, rect);
  report_.Line("spy\tcontrol\tcall\tDoVerb " + std::to_string(verb) + "\t" +
               hostkit::Hex(static_cast<unsigned long>(hr)));
  return hr;
}

HRESULT OleObjectSpy::EnumVerbs(IEnumOLEVERB** verbs) {
  return Called("EnumVerbs", ole_->EnumVerbs(verbs));
}

HRESULT OleObjectSpy::Update() { return Called("Update", ole_->Update()); }

HRESULT OleObjectSpy::IsUpToDate() { return Called("IsUpToDate", ole_->IsUpToDate()); }

HRESULT OleObjectSpy::GetUserClassID(CLSID* clsid) {
  return Called("GetUserClassID", ole_->GetUserClassID(clsid));
}

HRESULT OleObjectSpy::GetUserType(DWORD form, LPOLESTR* type) {
  return Called("GetUserType", ole_->GetUserType(form, type));
}

HRESULT OleObjectSpy::SetExtent(DWORD aspect, SIZEL* size) {
  return Called("SetExtent", ole_->SetExtent(aspect, size));
}

HRESULT OleObjectSpy::GetExtent(DWORD aspect, SIZEL* size) {
  return Called("GetExtent", ole_->GetExtent(aspect, size));
}

HRESULT OleObjectSpy::Advise(IAdviseSink* sink, DWORD* connection) {
  return Called("Advise", ole_->Advise(sink, connection));
}

HRESULT OleObjectSpy::Unadvise(DWORD connection) {
  return Called("Unadvise", ole_->Unadvise(connection));
}

HRESULT OleObjectSpy::EnumAdvise(IEnumSTATDATA** advise) {
  return Called("EnumAdvise", ole_->EnumAdvise(advise));
}

HRESULT OleObjectSpy::GetMiscStatus(DWORD aspect, DWORD* status) {
  return Called("GetMiscStatus", ole_->GetMiscStatus(aspect, status));
}

HRESULT OleObjectSpy::SetColorScheme(LOGPALETTE* palette) {
  return Called("SetColorScheme", ole_->SetColorScheme(palette));
}

// ---- ClientSiteSpy

ClientSiteSpy::ClientSiteSpy(hostkit::ComRef<IOleClientSite> site, hostkit::Report& report)
    : site_(std::move(site)), report_(report) {}

HRESULT ClientSiteSpy::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  HRESULT hr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *out = static_cast<IOleClientSite*>(this);
    AddRef();
    hr = S_OK;
  } else {
    hr = site_->QueryInterface(iid, out);
  }
  report_.Line(QiLine("site", iid, hr));
  return hr;
}

ULONG ClientSiteSpy::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG ClientSiteSpy::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT ClientSiteSpy::SaveObject() { return site_->SaveObject(); }

HRESULT ClientSiteSpy::GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) {
  return site_->GetMoniker(assign, which, moniker);
}

HRESULT ClientSiteSpy::GetContainer(IOleContainer** container) {
  return site_->GetContainer(container);
}

HRESULT ClientSiteSpy::ShowObject() { return site_->ShowObject(); }

HRESULT ClientSiteSpy::OnShowWindow(BOOL show) { return site_->OnShowWindow(show); }

HRESULT ClientSiteSpy::RequestNewObjectLayout() { return site_->RequestNewObjectLayout(); }
