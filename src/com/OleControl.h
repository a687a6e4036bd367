#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <vector>

#include "com/ComPtr.h"
#include "com/ConnectionPoint.h"
#include "com/DispatchTable.h"
#include "com/PropertyRecords.h"
#include "com/StorageState.h"
#include "ports/PropertyExchange.h"

namespace pel::com {

// The identity and fixed traits of an ActiveX control class.
struct ControlTraits {
  const CLSID* clsid;
  const IID* dispatchIid;   // the primary dispinterface (answered with IDispatch), or null
  const IID* eventIid;      // the outgoing dispinterface (one connection point)
  DWORD miscStatus;         // OLEMISC_* bits
  SIZE defaultSize;         // pixels, until the container sets an extent
  const wchar_t* windowClass;
};

// The embedding, in-place activation, drawing, persistence, dispatch and event plumbing that
// every ActiveX control of ours shares. A control class derives from this, supplies its
// dispatch members and handles its window through the hooks below; ComObject<> gives it the
// reference count. The control window is created at in-place activation, as a child of the
// site's window, and destroyed at deactivation. A control always has its own window (it may
// host child windows), so it offers no windowless activation.
//
// The persisted state is one block of bytes, whatever carries it: a stream, the "Contents"
// stream of a storage, or a container's memory.
class OleControl : public IOleObject,
                   public IOleInPlaceObject,
                   public IOleInPlaceActiveObject,
                   public IOleControl,
                   public IViewObjectEx,
                   public IPersistStreamInit,
                   public IPersistPropertyBag,
                   public IPersistStorage,
                   public IPersistMemory,
                   public IQuickActivate,
                   public IProvideClassInfo2,
                   public IConnectionPointContainer,
                   public IDispatch,
                   protected DispatchTarget {
 public:
  OleControl(const ControlTraits& traits, DispatchTable members);
  OleControl(const OleControl&) = delete;
  OleControl& operator=(const OleControl&) = delete;
  virtual ~OleControl();

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* activeSite, LONG index,
                      HWND parent, LPCRECT posRect) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow (in-place object and in-place active object)
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
  // IOleInPlaceObject
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override;
  // IOleInPlaceActiveObject
  STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* msg) override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
  STDMETHODIMP FreezeEvents(BOOL freeze) override;

  // IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                    HDC targetDc, HDC drawDc, LPCRECTL bounds, LPCRECTL windowBounds,
                    BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArg) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                           HDC targetDc, LOGPALETTE** colors) override;
  STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
  STDMETHODIMP Unfreeze(DWORD freeze) override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target,
                         LPSIZEL size) override;
  // IViewObjectEx: the control paints all of its rectangle opaquely (see OnDraw).
  STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
  STDMETHODIMP GetViewStatus(DWORD* status) override;
  STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG closeHint,
                             DWORD* hit) override;
  STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG closeHint,
                            DWORD* hit) override;
  STDMETHODIMP GetNaturalExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target,
                                HDC targetInfo, DVEXTENTINFO* info, LPSIZEL size) override;

  // IPersist, IPersistStreamInit, IPersistPropertyBag
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(LPSTREAM stream) override;
  STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
  // IPersistStorage: the stream's bytes in the storage's "Contents" stream.
  STDMETHODIMP InitNew(IStorage* storage) override;
  STDMETHODIMP Load(IStorage* storage) override;
  STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
  STDMETHODIMP SaveCompleted(IStorage* storage) override;
  STDMETHODIMP HandsOffStorage() override;
  // IPersistMemory: the stream's bytes in the container's memory (InitNew is the stream's).
  STDMETHODIMP Load(LPVOID memory, ULONG size) override;
  STDMETHODIMP Save(LPVOID memory, BOOL clearDirty, ULONG size) override;
  STDMETHODIMP GetSizeMax(ULONG* size) override;

  // IQuickActivate: the client site, the advise sink and the container's sinks in one call.
  STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  STDMETHODIMP SetContentExtent(LPSIZEL size) override;
  STDMETHODIMP GetContentExtent(LPSIZEL size) override;

  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* error, UINT* argErr) override;

 protected:
  // ---- hooks for the control class

  // Interfaces beyond the shared ones.
  virtual HRESULT QueryExtraInterface(REFIID iid, void** out);
  // The persisted properties, in their order; a reset passes an exchange that gives defaults.
  virtual void ExchangeProperties(IPropertyExchange& exchange);
  // Type information by GUID (the dispinterface, the coclass); none by default.
  virtual HRESULT LoadTypeInfo(REFGUID guid, ITypeInfo** info);
  // WM_CREATE of the control window; false fails the creation.
  virtual bool OnCreateWindow(const CREATESTRUCTW& create);
  // WM_DESTROY of the control window.
  virtual void OnDestroyWindow();
  // Paints the control into `dc` within `bounds` (the window's client area, or a container's
  // drawing rectangle). It covers all of `bounds` in one solid colour first: the frame tells
  // containers that the view is opaque.
  virtual void OnDraw(HDC dc, const RECT& bounds);
  // Any other message of the control window; set `handled` to keep the default away.
  virtual LRESULT OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

  // ---- services for the control class

  IUnknown* Identity() { return static_cast<IOleObject*>(this); }
  HWND Window() const { return window_; }
  IOleClientSite* ClientSite() const { return clientSite_.Get(); }
  // Whether the persisted state changed since the last load or save (IsDirty); a control
  // that keeps this flag elsewhere overrides both.
  virtual bool IsModified() const { return dirty_; }
  virtual void SetModified(bool modified) { dirty_ = modified; }
  // Fires an event on the outgoing interface (dropped while the container freezes events).
  void FireEvent(DISPID id, const std::vector<VARIANT>& args);
  const DispatchTable& Members() const { return members_; }
  // A parent for modal dialogs: the control window, else the container's window.
  HWND DialogParent() const;
  // The property frame of the pages the control lists (ISpecifyPropertyPages).
  HRESULT ShowPropertyPages();
  // Destroys the control window, if any, with the hooks running. A control class calls it
  // from its destructor, so that a container that never deactivated the control still has
  // the window go while the whole object is there.
  void DestroyControlWindow();

 private:
  HRESULT InPlaceActivate(bool uiActivate);
  bool CreateControlWindow(HWND parent, const RECT& pos);
  HRESULT SaveRecords(std::vector<PropertyRecord>& records);
  // Advises `sink` on the connection point for `iid`, if the control has one: the cookie, or 0.
  DWORD ConnectSink(REFIID iid, IUnknown* sink);
  void DropQuickActivationAdvise();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  ControlTraits traits_;
  DispatchTable members_;
  ConnectionPoint events_;
  ComPtr<IOleClientSite> clientSite_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> document_;
  ComPtr<IOleAdviseHolder> adviseHolder_;
  ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  HWND window_ = nullptr;
  RECT posRect_ = {0, 0, 0, 0};
  SIZEL naturalExtent_ = {0, 0};  // the default size
  SIZEL extent_ = {0, 0};
  StorageState storage_;
  // The advises QuickActivate made for the container, which holds no cookie for them: they go
  // when the container lets go of the control (SetClientSite(NULL)).
  DWORD quickAdvise_ = 0;
  bool quickViewAdvise_ = false;
  bool uiActive_ = false;
  bool dirty_ = false;
  int frozen_ = 0;
};

// Unregisters the window classes the module's controls registered (when the module unloads,
// so that a reloaded module registers its own window procedure again).
void UnregisterControlWindowClasses();

}  // namespace pel::com
