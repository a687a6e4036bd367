// What browsers and other containers ask of the control beyond embedding: quick activation
// and the extended view.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstddef>

#include "EventRecorder.h"
#include "Pelioran_h.h"
#include "WinTestSupport.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"

namespace {

using pel::com::ComPtr;
using namespace pel::wintest;

constexpr DWORD kOpaqueView = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND |
                              VIEWSTATUS_DVASPECTOPAQUE;

// The container's side of one control: its client site, its advise sink and its property
// change sink, counting the notifications the control sends.
class ContainerSite : public IOleClientSite, public IAdviseSinkEx, public IPropertyNotifySink {
 public:
  virtual ~ContainerSite() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out) {
    static const pel::com::InterfaceEntry<ContainerSite> kTable[] = {
        {&IID_IOleClientSite, pel::com::CastTo<ContainerSite, IOleClientSite>},
        {&IID_IAdviseSink, pel::com::CastTo<ContainerSite, IAdviseSinkEx>},
        {&IID_IAdviseSinkEx, pel::com::CastTo<ContainerSite, IAdviseSinkEx>},
        {&IID_IPropertyNotifySink, pel::com::CastTo<ContainerSite, IPropertyNotifySink>},
    };
    return pel::com::QueryFromTable(this, kTable, iid, out);
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IAdviseSinkEx
  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override { ++closes; }
  STDMETHODIMP_(void) OnViewStatusChange(DWORD) override {}

  // IPropertyNotifySink
  STDMETHODIMP OnChanged(DISPID) override { return S_OK; }
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

  int closes = 0;
};

class ContainerInterfaces : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, CreateFromDll(BinPath(L"Pelioran.ocx"), CLSID_Pelioran, IID_IOleObject,
                                  object_.PutVoid()));
    ASSERT_EQ(S_OK, object_.As(IID_IQuickActivate, quick_));
    site_ = pel::com::MakeComObject<ContainerSite>();
    events_ = pel::com::MakeComObject<EventRecorder>(DIID__DPelioranEvents);
    container_.cbSize = sizeof(container_);
    container_.pClientSite = site_.Get();
    container_.pAdviseSink = site_.Get();
    container_.pPropertyNotifySink = site_.Get();
    container_.pUnkEventSink = static_cast<IDispatch*>(events_.Get());
    container_.dwAmbientFlags = QACONTAINER_USERMODE;
    control_.cbSize = sizeof(control_);
    control_.dwPointerActivationPolicy = 0xFFFFFFFF;
  }
  // The connection point of the control's events, for undoing a connection by its cookie.
  ComPtr<IConnectionPoint> EventPoint() {
    ComPtr<IConnectionPointContainer> points;
    EXPECT_EQ(S_OK, object_.As(IID_IConnectionPointContainer, points));
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(S_OK, points->FindConnectionPoint(DIID__DPelioranEvents, point.Put()));
    return point;
  }

  ComPtr<IOleObject> object_;
  ComPtr<IQuickActivate> quick_;
  ComPtr<pel::com::ComObject<ContainerSite>> site_;
  ComPtr<pel::com::ComObject<EventRecorder>> events_;
  QACONTAINER container_ = {};
  QACONTROL control_ = {};
};

TEST_F(ContainerInterfaces, QuickActivationTakesTheSiteAndSinksAndAnswersTheTraits) {
  ASSERT_EQ(S_OK, quick_->QuickActivate(&container_, &control_));
  ComPtr<IOleClientSite> site;
  ASSERT_EQ(S_OK, object_->GetClientSite(site.Put()));
  EXPECT_EQ(static_cast<IOleClientSite*>(site_.Get()), site.Get());
  EXPECT_EQ(0x00020191u, control_.dwMiscStatus);
  EXPECT_EQ(kOpaqueView, control_.dwViewStatus);
  EXPECT_EQ(0u, control_.dwPropNotifyCookie);  // the control sends no property notifications
  EXPECT_EQ(0u, control_.dwPointerActivationPolicy);

  // The view advise is the container's sink.
  ComPtr<IViewObject> view;
  ASSERT_EQ(S_OK, object_.As(IID_IViewObject, view));
  DWORD aspects = 0;
  ComPtr<IAdviseSink> view_sink;
  ASSERT_EQ(S_OK, view->GetAdvise(&aspects, nullptr, view_sink.Put()));
  EXPECT_EQ(static_cast<DWORD>(DVASPECT_CONTENT), aspects);
  EXPECT_EQ(static_cast<IAdviseSink*>(site_.Get()), view_sink.Get());

  // The event cookie names the event sink's connection.
  ASSERT_NE(0u, control_.dwEventCookie);
  auto point = EventPoint();
  EXPECT_EQ(S_OK, point->Unadvise(control_.dwEventCookie));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(control_.dwEventCookie));

  // The embedding advise reaches the container's sink until the container lets go; then
  // neither advise holds the sink any more.
  EXPECT_EQ(S_OK, object_->Close(OLECLOSE_NOSAVE));
  EXPECT_EQ(1, site_->closes);
  ASSERT_EQ(S_OK, object_->SetClientSite(nullptr));
  EXPECT_EQ(S_OK, object_->Close(OLECLOSE_NOSAVE));
  EXPECT_EQ(1, site_->closes);
  ASSERT_EQ(S_OK, view->GetAdvise(nullptr, nullptr, view_sink.Put()));
  EXPECT_FALSE(view_sink);

  SIZEL size = {4000, 2000};
  ASSERT_EQ(S_OK, quick_->SetContentExtent(&size));
  SIZEL back = {0, 0};
  ASSERT_EQ(S_OK, quick_->GetContentExtent(&back));
  EXPECT_EQ(4000, back.cx);
  EXPECT_EQ(2000, back.cy);
}

TEST_F(ContainerInterfaces, QuickActivationWritesOnlyWhatTheStructuresHold) {
  // Too small to carry the sinks, or to take back both cookies: refused before anything.
  container_.cbSize = offsetof(QACONTAINER, pUnkEventSink);
  EXPECT_EQ(E_INVALIDARG, quick_->QuickActivate(&container_, &control_));
  container_.cbSize = sizeof(container_);
  control_.cbSize = offsetof(QACONTROL, dwPropNotifyCookie);
  EXPECT_EQ(E_INVALIDARG, quick_->QuickActivate(&container_, &control_));
  control_.cbSize = 0;
  EXPECT_EQ(E_INVALIDARG, quick_->QuickActivate(&container_, &control_));
  EXPECT_EQ(E_POINTER, quick_->QuickActivate(nullptr, &control_));
  ComPtr<IOleClientSite> site;
  object_->GetClientSite(site.Put());
  EXPECT_FALSE(site);
  EXPECT_EQ(0u, control_.dwMiscStatus);

  // An older container: the sinks only, and no room for the pointer activation policy.
  container_.cbSize = offsetof(QACONTAINER, dwAmbientFlags);
  control_.cbSize = offsetof(QACONTROL, dwPointerActivationPolicy);
  ASSERT_EQ(S_OK, quick_->QuickActivate(&container_, &control_));
  EXPECT_EQ(0x00020191u, control_.dwMiscStatus);
  EXPECT_NE(0u, control_.dwEventCookie);
  EXPECT_EQ(0xFFFFFFFFu, control_.dwPointerActivationPolicy);
  EventPoint()->Unadvise(control_.dwEventCookie);

  // A newer container: what the control does not know of stays as it was.
  struct {
    QACONTROL known;
    DWORD later;
  } larger = {};
  larger.known.cbSize = sizeof(larger);
  larger.later = 0xABCDEF01;
  ASSERT_EQ(S_OK, quick_->QuickActivate(&container_, &larger.known));
  EXPECT_EQ(kOpaqueView, larger.known.dwViewStatus);
  EXPECT_EQ(0xABCDEF01u, larger.later);
  EventPoint()->Unadvise(larger.known.dwEventCookie);
  object_->SetClientSite(nullptr);
}

TEST_F(ContainerInterfaces, TheViewIsOneOpaqueRectangle) {
  ComPtr<IViewObjectEx> view;
  ASSERT_EQ(S_OK, object_.As(IID_IViewObjectEx, view));
  DWORD status = 0;
  ASSERT_EQ(S_OK, view->GetViewStatus(&status));
  EXPECT_EQ(kOpaqueView, status);

  SIZEL natural = {0, 0};
  ASSERT_EQ(S_OK, object_->GetExtent(DVASPECT_CONTENT, &natural));
  SIZEL size = {5000, 3000};
  ASSERT_EQ(S_OK, object_->SetExtent(DVASPECT_CONTENT, &size));
  for (DWORD aspect : {DWORD{DVASPECT_CONTENT}, DWORD{DVASPECT_OPAQUE}}) {
    RECTL rect = {-1, -1, -1, -1};
    ASSERT_EQ(S_OK, view->GetRect(aspect, &rect)) << aspect;
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(5000, rect.right);
    EXPECT_EQ(3000, rect.bottom);
  }
  RECTL rect;
  EXPECT_EQ(DV_E_DVASPECT, view->GetRect(DVASPECT_TRANSPARENT, &rect));

  const RECT bounds = {10, 10, 110, 60};
  DWORD hit = 99;
  ASSERT_EQ(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &bounds, POINT{10, 10}, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_HIT), hit);
  ASSERT_EQ(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &bounds, POINT{110, 30}, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_OUTSIDE), hit);
  EXPECT_EQ(E_FAIL, view->QueryHitPoint(DVASPECT_ICON, &bounds, POINT{20, 20}, 0, &hit));
  const RECT overlapping = {100, 50, 200, 200};
  const RECT apart = {110, 10, 200, 60};
  ASSERT_EQ(S_OK, view->QueryHitRect(DVASPECT_CONTENT, &bounds, &overlapping, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_HIT), hit);
  ASSERT_EQ(S_OK, view->QueryHitRect(DVASPECT_CONTENT, &bounds, &apart, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_OUTSIDE), hit);

  // The natural size is the default one, whatever the container set since.
  DVEXTENTINFO info = {sizeof(info), DVEXTENT_CONTENT, {100, 100}};
  SIZEL answer = {0, 0};
  ASSERT_EQ(S_OK, view->GetNaturalExtent(DVASPECT_CONTENT, -1, nullptr, nullptr, &info, &answer));
  EXPECT_EQ(natural.cx, answer.cx);
  EXPECT_EQ(natural.cy, answer.cy);
  info.dwExtentMode = DVEXTENT_INTEGRAL;
  EXPECT_EQ(E_FAIL, view->GetNaturalExtent(DVASPECT_CONTENT, -1, nullptr, nullptr, &info, &answer));
  info.cb = 4;
  EXPECT_EQ(E_INVALIDARG,
            view->GetNaturalExtent(DVASPECT_CONTENT, -1, nullptr, nullptr, &info, &answer));

  // The opaque aspect draws as the content does: every pixel of the rectangle.
  BITMAPINFO bmi = {};
  bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(nullptr, dib);
  HGDIOBJ old = SelectObject(dc, dib);
  const RECTL area = {0, 0, 8, 8};
  EXPECT_EQ(S_OK, view->Draw(DVASPECT_OPAQUE, -1, nullptr, nullptr, nullptr, dc, &area, nullptr,
                             nullptr, 0));
  GdiFlush();
  EXPECT_EQ(0xFFFFFFu, static_cast<const DWORD*>(bits)[7 * 8 + 7] & 0xFFFFFF);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
}

}  // namespace
