// OleControl: quick activation (IQuickActivate), the one call in which a browser hands the
// control its site and sinks and learns the control's traits.

#include "com/OleControl.h"

#include <cstddef>
#include <utility>

namespace pel::com {

namespace {

bool Holds(ULONG cbSize, size_t offset, size_t size) { return cbSize >= offset + size; }

// The least a container's structure must carry: the site and the sinks. The control reads no
// ambient values from it (it uses none), so a shorter or longer structure beyond that is fine.
constexpr size_t kContainerNeeds = offsetof(QACONTAINER, pUnkEventSink) + sizeof(IUnknown*);
// The least room for the answer: through both cookies, without which a connection made here
// could never be undone.
constexpr size_t kControlNeeds = offsetof(QACONTROL, dwPropNotifyCookie) + sizeof(DWORD);

}  // namespace

STDMETHODIMP OleControl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (!container || !control) return E_POINTER;
  const ULONG controlSize = control->cbSize;
  if (!Holds(container->cbSize, 0, kContainerNeeds) || !Holds(controlSize, 0, kControlNeeds)) {
    return E_INVALIDARG;
  }
  SetClientSite(container->pClientSite);
  if (IAdviseSink* sink = container->pAdviseSink) {
    DropQuickActivationAdvise();
    SetAdvise(DVASPECT_CONTENT, 0, sink);
    quickViewAdvise_ = true;
    if (FAILED(Advise(sink, &quickAdvise_))) quickAdvise_ = 0;
  }
  control->dwEventCookie = ConnectSink(*traits_.eventIid, container->pUnkEventSink);
  control->dwPropNotifyCookie =
      ConnectSink(IID_IPropertyNotifySink, container->pPropertyNotifySink);
  GetMiscStatus(DVASPECT_CONTENT, &control->dwMiscStatus);
  GetViewStatus(&control->dwViewStatus);
  // The control does not want the pointer while inactive (it has no IPointerInactive).
  if (Holds(controlSize, offsetof(QACONTROL, dwPointerActivationPolicy), sizeof(DWORD))) {
    control->dwPointerActivationPolicy = 0;
  }
  return S_OK;
}

DWORD OleControl::ConnectSink(REFIID iid, IUnknown* sink) {
  if (!sink) return 0;
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  if (FAILED(FindConnectionPoint(iid, point.Put())) || FAILED(point->Advise(sink, &cookie))) {
    return 0;
  }
  return cookie;
}

void OleControl::DropQuickActivationAdvise() {
  if (quickAdvise_ != 0) Unadvise(std::exchange(quickAdvise_, 0));
  if (quickViewAdvise_) SetAdvise(0, 0, nullptr);
}

STDMETHODIMP OleControl::SetContentExtent(LPSIZEL size) {
  return SetExtent(DVASPECT_CONTENT, size);
}

STDMETHODIMP OleControl::GetContentExtent(LPSIZEL size) {
  return GetExtent(DVASPECT_CONTENT, size);
}

}  // namespace pel::com
