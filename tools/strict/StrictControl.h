#pragma once

#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <oleidl.h>

#include <map>
#include <string>
#include <vector>

#include "MakeObject.h"
#include "ConnectionPoint.h"
#include "ControlWindow.h"
#include "Member.h"
#include "Module.h"
#include "OwnedVariant.h"

namespace strict {

// What makes one component of the family.
struct ComponentInfo {
  const char* logName;    // viewer, uart or voice
  const CLSID* clsid;
  const IID* eventsIid;   // its outgoing dispinterface
  bool classInfo;         // whether it names that interface through IProvideClassInfo2
  SIZE size;              // natural size in pixels
};

// An ActiveX control as other frames make them: a dispatch interface that takes its declared
// types only, property change notifications and events on two connection points, in-place
// activation in the site's window at the place the site gives, and a window that moves only
// when the container says so through IOleInPlaceObject::SetObjectRects. Every call, event and
// placement goes to the call log.
class StrictControl : public IDispatch,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IOleInPlaceActiveObject,
                      public IOleControl,
                      public IViewObject2,
                      public IPersistStreamInit,
                      public IConnectionPointContainer,
                      public IProvideClassInfo2,
                      public IObjectSafety,
                      private WindowHandler {
 public:
  StrictControl(const StrictControl&) = delete;
  StrictControl& operator=(const StrictControl&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO*, UINT* argErr) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                      LPCRECT) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return OLE_S_USEREG; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
  STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
  STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

  // IViewObject, IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                    LPCRECTL, WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                           LOGPALETTE** colours) override;
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

  // IPersist, IPersistStreamInit: nothing of its own to keep.
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM) override { return S_OK; }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return S_OK; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override { return S_OK; }

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // IProvideClassInfo, IProvideClassInfo2 (served only when ComponentInfo::classInfo)
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IObjectSafety as a control marked safe for scripting and initialising answers it: for
  // every interface it has, both options supported, each enabled when asked for.
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

 protected:
  StrictControl(const ComponentInfo& info, std::vector<Member> members);
  virtual ~StrictControl();

  // What the component does beyond keeping and logging: after an accepted put, and for an
  // accepted method call (arguments in declared order; `result` VT_EMPTY on entry).
  virtual void OnPut(const Member&, const VARIANT&) {}
  virtual HRESULT OnCall(const Member&, const std::vector<VARIANT*>&, VARIANT*) { return S_OK; }
  // Paints the component into `bounds` (its window's client area, or a container's target).
  virtual void Paint(HDC dc, const RECT& bounds) = 0;
  // A left click in the window, in the coordinates of Area().
  virtual void OnClick(POINT) {}

  // A starting value, as if put (not logged).
  void Seed(DISPID id, const OwnedVariant& value) { values_[id] = value; }
  const VARIANT* Stored(DISPID id) const;
  LONG StoredLong(DISPID id, LONG def) const;
  bool StoredBool(DISPID id) const;
  std::wstring StoredText(DISPID id) const;

  // Fires an event from the window's message loop, after the call that causes it has
  // returned (at once when there is no window).
  void PostEvent(DISPID id, const wchar_t* name, std::vector<OwnedVariant> args);

  // The component's area as it knows it: the size the container last gave it through
  // GetWindowContext or SetObjectRects, from (0,0). A window moved behind its back keeps it.
  RECT Area() const;
  HWND Window() const { return window_.Handle(); }
  const char* Component() const { return info_.logName; }

 private:
  struct PendingEvent {
    DISPID id;
    std::wstring name;
    std::vector<OwnedVariant> args;
  };

  // Posted to the component's own window: fire the pending events.
  static constexpr UINT kWmFireEvents = WM_APP + 0x53;

  IUnknown* Identity() { return static_cast<IDispatch*>(this); }
  const Member* Find(DISPID id) const;
  HRESULT DoGet(const Member& member, VARIANT* result);
  HRESULT DoPut(const Member& member, const VARIANT& value);
  HRESULT DoCall(const Member& member, const std::vector<VARIANT*>& args, VARIANT* result);
  void NotifyChanged(DISPID id);
  void FirePending();

  HRESULT InPlaceActivate(IOleClientSite* activeSite, bool uiActivate);
  static HRESULT SitePosition(IOleInPlaceSite* site, RECT* pos);
  void ReadAmbients();
  void LogSiteRect(const char* name, const RECT& rect, const std::string& note = {});
  LRESULT OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) override;
  void OnWindowPosChanged(HWND window, const WINDOWPOS& change);

  ModuleLock lock_;
  LONG refs_ = 1;
  DWORD safety_ = 0;  // the IObjectSafety options enabled
  ComponentInfo info_;
  std::vector<Member> members_;
  std::map<DISPID, OwnedVariant> values_;

  ConnectionPoint propertyNotify_;
  ConnectionPoint events_;
  std::vector<PendingEvent> pending_;

  ComRef<IOleClientSite> clientSite_;
  ComRef<IOleInPlaceSite> inPlaceSite_;
  ComRef<IOleAdviseHolder> oleAdvise_;
  ComRef<IAdviseSink> viewAdvise_;
  DWORD viewAspects_ = 0;
  DWORD viewAdviseFlags_ = 0;
  SIZEL extent_;  // HIMETRIC
  bool uiActive_ = false;

  ControlWindow window_;
  RECT placed_ = {0, 0, 0, 0};  // client coordinates of the parent
  bool placing_ = false;        // inside this component's own move of its window
};

}  // namespace strict
