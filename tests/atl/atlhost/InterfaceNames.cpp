#include "InterfaceNames.h"

#include <docobj.h>
#include <objbase.h>
#include <objsafe.h>
#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>

#include "Report.h"
#include "Text.h"

namespace {

struct Named {
  const IID* iid;
  const char* name;
};

const Named kNames[] = {
    {&IID_IUnknown, "IUnknown"},
    {&IID_IDispatch, "IDispatch"},
    {&IID_IOleObject, "IOleObject"},
    {&IID_IOleWindow, "IOleWindow"},
    {&IID_IOleInPlaceObject, "IOleInPlaceObject"},
    {&IID_IOleInPlaceObjectWindowless, "IOleInPlaceObjectWindowless"},
    {&IID_IOleInPlaceActiveObject, "IOleInPlaceActiveObject"},
    {&IID_IOleControl, "IOleControl"},
    {&IID_IViewObject, "IViewObject"},
    {&IID_IViewObject2, "IViewObject2"},
    {&IID_IViewObjectEx, "IViewObjectEx"},
    {&IID_IDataObject, "IDataObject"},
    {&IID_IPersist, "IPersist"},
    {&IID_IPersistStreamInit, "IPersistStreamInit"},
    {&IID_IPersistStream, "IPersistStream"},
    {&IID_IPersistStorage, "IPersistStorage"},
    {&IID_IPersistPropertyBag, "IPersistPropertyBag"},
    {&IID_IQuickActivate, "IQuickActivate"},
    {&IID_IPointerInactive, "IPointerInactive"},
    {&IID_IProvideClassInfo, "IProvideClassInfo"},
    {&IID_IProvideClassInfo2, "IProvideClassInfo2"},
    {&IID_IConnectionPointContainer, "IConnectionPointContainer"},
    {&IID_ISpecifyPropertyPages, "ISpecifyPropertyPages"},
    {&IID_IRunnableObject, "IRunnableObject"},
    {&IID_IOleCache, "IOleCache"},
    {&IID_IOleLink, "IOleLink"},
    {&IID_IExternalConnection, "IExternalConnection"},
    {&IID_IMarshal, "IMarshal"},
    {&IID_IObjectSafety, "IObjectSafety"},
    {&IID_IObjectWithSite, "IObjectWithSite"},
    {&IID_IOleClientSite, "IOleClientSite"},
    {&IID_IOleContainer, "IOleContainer"},
    {&IID_IOleInPlaceSite, "IOleInPlaceSite"},
    {&IID_IOleInPlaceSiteEx, "IOleInPlaceSiteEx"},
    {&IID_IOleInPlaceSiteWindowless, "IOleInPlaceSiteWindowless"},
    {&IID_IOleInPlaceFrame, "IOleInPlaceFrame"},
    {&IID_IOleInPlaceUIWindow, "IOleInPlaceUIWindow"},
    {&IID_IOleControlSite, "IOleControlSite"},
    {&IID_IServiceProvider, "IServiceProvider"},
    {&IID_IOleCommandTarget, "IOleCommandTarget"},
    {&IID_IAdviseSink, "IAdviseSink"},
    {&IID_ISimpleFrameSite, "ISimpleFrameSite"},
    {&IID_IPropertyNotifySink, "IPropertyNotifySink"},
    {&IID_IClassFactory, "IClassFactory"},
};

}  // namespace

std::string InterfaceName(REFIID iid) {
  for (const Named& named : kNames) {
    if (IsEqualIID(iid, *named.iid)) return named.name;
  }
  wchar_t text[40] = {};
  StringFromGUID2(iid, text, 40);
  return hostkit::Escaped(text);
}
