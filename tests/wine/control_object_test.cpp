// The Pelioran control's COM object, created straight from the DLL's class factory.

#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>

#include "EventRecorder.h"
#include "Pelioran_h.h"
#include "WinTestSupport.h"
#include "com/BStr.h"
#include "com/ComPtr.h"
#include "com/ComVariant.h"

namespace {

using pel::com::BStr;
using pel::com::ComPtr;
using pel::com::ComVariant;
using namespace pel::wintest;

const CLSID kPageClsid = {0xDDC012F8, 0xA786, 0x4584,
                          {0x85, 0x6D, 0x04, 0x4B, 0xC1, 0xF4, 0x94, 0x14}};

std::wstring Ocx() { return BinPath(L"Pelioran.ocx"); }

class PelioranObject : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, CreateFromDll(Ocx(), CLSID_Pelioran, IID_IDispatch, control_.PutVoid()));
  }
  template <class I>
  ComPtr<I> As(REFIID iid) {
    ComPtr<I> out;
    EXPECT_EQ(S_OK, control_.As(iid, out));
    return out;
  }
  ComPtr<IDispatch> control_;
};

TEST(PelioranFactory, RefusesAggregationAndUnknownClasses) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, ClassFactoryFromDll(Ocx(), CLSID_Pelioran, factory.Put()));
  ComPtr<IUnknown> object;
  IUnknown* outer = factory.Get();
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IUnknown, object.PutVoid()));
  EXPECT_FALSE(object);
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, object.PutVoid()));
  EXPECT_FALSE(object);

  ComPtr<IClassFactory> none;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, ClassFactoryFromDll(Ocx(), IID_IDispatch, none.Put()));

  ComPtr<IPropertyPage> page;
  EXPECT_EQ(S_OK, CreateFromDll(Ocx(), kPageClsid, IID_IPropertyPage, page.PutVoid()));
}

TEST(PelioranFactory, ModuleStaysLoadedWhileObjectsOrLocksLive) {
  EXPECT_EQ(S_OK, CanUnloadNow(Ocx()));
  {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, ClassFactoryFromDll(Ocx(), CLSID_Pelioran, factory.Put()));
    EXPECT_EQ(S_FALSE, CanUnloadNow(Ocx()));
    ComPtr<IUnknown> control;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, control.PutVoid()));
    factory->LockServer(TRUE);
    factory.Reset();
    control.Reset();
    EXPECT_EQ(S_FALSE, CanUnloadNow(Ocx()));  // the lock
    ASSERT_EQ(S_OK, ClassFactoryFromDll(Ocx(), CLSID_Pelioran, factory.Put()));
    factory->LockServer(FALSE);
  }
  EXPECT_EQ(S_OK, CanUnloadNow(Ocx()));
}

TEST_F(PelioranObject, AnswersItsInterfacesWithOneIdentity) {
  const IID* supported[] = {
      &IID_IOleObject,       &IID_IOleWindow,          &IID_IOleInPlaceObject,
      &IID_IOleInPlaceActiveObject, &IID_IOleControl, &IID_IViewObject,
      &IID_IViewObject2,     &IID_IPersist,            &IID_IPersistStreamInit,
      &IID_IPersistPropertyBag, &IID_IProvideClassInfo, &IID_IProvideClassInfo2,
      &IID_IConnectionPointContainer, &IID_IDispatch,  &DIID__DPelioran,
      &IID_IObjectSafety,    &IID_ISpecifyPropertyPages, &IID_IPersistStorage,
      &IID_IPersistMemory,   &IID_IQuickActivate,      &IID_IViewObjectEx,
  };
  ComPtr<IUnknown> identity;
  ASSERT_EQ(S_OK, control_.As(IID_IUnknown, identity));
  for (size_t k = 0; k < sizeof(supported) / sizeof(supported[0]); ++k) {
    ComPtr<IUnknown> part;
    ASSERT_EQ(S_OK, control_->QueryInterface(*supported[k], part.PutVoid())) << k;
    ComPtr<IUnknown> back;
    ASSERT_EQ(S_OK, part->QueryInterface(IID_IUnknown, back.PutVoid()));
    EXPECT_EQ(identity.Get(), back.Get());
  }
  ComPtr<IUnknown> missing;
  EXPECT_EQ(E_NOINTERFACE, control_->QueryInterface(IID_IDataObject, missing.PutVoid()));
  EXPECT_FALSE(missing);
}

TEST_F(PelioranObject, ObjectSafetyReportsThreeAndThree) {
  auto safety = As<IObjectSafety>(IID_IObjectSafety);
  DWORD supported = 0;
  DWORD enabled = 0;
  EXPECT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
  EXPECT_EQ(3u, supported);
  EXPECT_EQ(3u, enabled);
  supported = enabled = 0;
  EXPECT_EQ(E_NOINTERFACE,
            safety->GetInterfaceSafetyOptions(IID_IDataObject, &supported, &enabled));
  EXPECT_EQ(3u, supported);
  EXPECT_EQ(3u, enabled);
  EXPECT_EQ(E_POINTER, safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled));

  EXPECT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, 3, 3));
  EXPECT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IPersistPropertyBag, 2, 2));
  EXPECT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, 0, 0));
  EXPECT_EQ(E_FAIL, safety->SetInterfaceSafetyOptions(IID_IDispatch, 1, 0));
  EXPECT_EQ(E_FAIL, safety->SetInterfaceSafetyOptions(IID_IDispatch, 3, 1));
  EXPECT_EQ(E_FAIL, safety->SetInterfaceSafetyOptions(IID_IDispatch, 4, 4));
  EXPECT_EQ(E_NOINTERFACE, safety->SetInterfaceSafetyOptions(IID_IDataObject, 3, 3));
}

TEST_F(PelioranObject, ListsItsOnePropertyPage) {
  auto specify = As<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  CAUUID pages = {0, nullptr};
  ASSERT_EQ(S_OK, specify->GetPages(&pages));
  ASSERT_EQ(1u, pages.cElems);
  EXPECT_TRUE(IsEqualGUID(kPageClsid, pages.pElems[0]));
  CoTaskMemFree(pages.pElems);
}

TEST_F(PelioranObject, ClassInfoAndEventConnectionPoint) {
  auto info = As<IProvideClassInfo2>(IID_IProvideClassInfo2);
  GUID guid;
  ASSERT_EQ(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid));
  EXPECT_TRUE(IsEqualGUID(DIID__DPelioranEvents, guid));
  EXPECT_EQ(E_INVALIDARG, info->GetGUID(7, &guid));
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(S_OK, info->GetClassInfo(coclass.Put()));
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(CLSID_Pelioran, attr->guid));
  EXPECT_EQ(TKIND_COCLASS, attr->typekind);
  coclass->ReleaseTypeAttr(attr);

  auto points = As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  ComPtr<IConnectionPoint> none;
  EXPECT_EQ(CONNECT_E_NOCONNECTION,
            points->FindConnectionPoint(IID_IPropertyNotifySink, none.Put()));
  ComPtr<IEnumConnectionPoints> all;
  ASSERT_EQ(S_OK, points->EnumConnectionPoints(all.Put()));
  IConnectionPoint* listed[2] = {nullptr, nullptr};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, all->Next(2, listed, &fetched));
  ASSERT_EQ(1u, fetched);
  IID listed_iid;
  listed[0]->GetConnectionInterface(&listed_iid);
  listed[0]->Release();
  EXPECT_TRUE(IsEqualIID(DIID__DPelioranEvents, listed_iid));

  DWORD cookie = 0;
  {
    EventConnection events;
    ASSERT_EQ(S_OK, ConnectEvents(control_.Get(), events));
    EXPECT_NE(0u, events.cookie);
    cookie = events.cookie;
  }
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, points->FindConnectionPoint(DIID__DPelioranEvents, point.Put()));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
  ComPtr<IConnectionPointContainer> owner;
  ASSERT_EQ(S_OK, point->GetConnectionPointContainer(owner.Put()));
  EXPECT_EQ(points.Get(), owner.Get());
}

// A sink whose last Release unadvises another connection of the same point, as a sink that
// tidies up after itself may: the point must be whole when it is called back.
class UnadvisingSink : public IDispatch {
 public:
  UnadvisingSink(IConnectionPoint* point, const DWORD* other) : point_(point), other_(other) {}
  HRESULT otherResult = E_PENDING;
  STDMETHODIMP QueryInterface(REFIID, void** out) override {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    if (--refs_ == 0 && other_ != nullptr) otherResult = point_->Unadvise(*other_);
    return refs_;
  }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return S_OK;
  }

 private:
  IConnectionPoint* point_;
  const DWORD* other_;
  ULONG refs_ = 0;
};

TEST_F(PelioranObject, ASinkMayUnadviseAnotherWhileItIsReleased) {
  auto points = As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, points->FindConnectionPoint(DIID__DPelioranEvents, point.Put()));
  DWORD cookies[3] = {};
  UnadvisingSink first(point.Get(), &cookies[2]), second(point.Get(), nullptr),
      third(point.Get(), nullptr);
  UnadvisingSink* sinks[3] = {&first, &second, &third};
  for (int i = 0; i < 3; ++i) ASSERT_EQ(S_OK, point->Advise(sinks[i], &cookies[i]));

  EXPECT_EQ(S_OK, point->Unadvise(cookies[0]));
  EXPECT_EQ(S_OK, first.otherResult) << "the third sink's connection was found from Release";
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookies[2]));
  EXPECT_EQ(S_OK, point->Unadvise(cookies[1])) << "the second sink is still connected";
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookies[0]));
}

TEST_F(PelioranObject, NamesAreTheTypeLibrarysDispids) {
  const wchar_t* names[] = {L"strIpAddr", L"iHttpPort", L"strIpAddrProxy", L"iHttpPortProxy",
                            L"iSvrID", L"strUserID", L"strUserPWD", L"iOperPaneCtls",
                            L"bGroup", L"bTour", L"bPower", L"bLight", L"bAux1", L"bAux2"};
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, control_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()));
  for (DISPID k = 0; k < 14; ++k) {
    std::wstring name = names[k];
    LPOLESTR one[1] = {name.data()};
    DISPID id = 0;
    ASSERT_EQ(S_OK, control_->GetIDsOfNames(IID_NULL, one, 1, LOCALE_USER_DEFAULT, &id)) << k;
    EXPECT_EQ(k + 1, id);
    MEMBERID typed = 0;
    ASSERT_EQ(S_OK, info->GetIDsOfNames(one, 1, &typed));
    EXPECT_EQ(typed, id);
  }
  std::wstring about = L"aboutbox";  // names match without regard to case
  LPOLESTR one[1] = {about.data()};
  DISPID id = 0;
  EXPECT_EQ(S_OK, control_->GetIDsOfNames(IID_NULL, one, 1, LOCALE_USER_DEFAULT, &id));
  EXPECT_EQ(-552, id);
  std::wstring unknown = L"strNothing";
  one[0] = unknown.data();
  EXPECT_EQ(DISP_E_UNKNOWNNAME,
            control_->GetIDsOfNames(IID_NULL, one, 1, LOCALE_USER_DEFAULT, &id));
  EXPECT_EQ(DISPID_UNKNOWN, id);
  UINT count = 0;
  EXPECT_EQ(S_OK, control_->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);
}

TEST_F(PelioranObject, PropertiesStartAtTheirDefaults) {
  const struct {
    DISPID id;
    VARTYPE vt;
    const wchar_t* text;
    long number;
  } defaults[] = {
      {1, VT_BSTR, L"", 0},  {2, VT_I4, nullptr, 80},   {3, VT_BSTR, L"", 0},
      {4, VT_I4, nullptr, 8080}, {5, VT_I4, nullptr, 0}, {6, VT_BSTR, L"", 0},
      {7, VT_BSTR, L"", 0},  {8, VT_I4, nullptr, 0},    {9, VT_BOOL, nullptr, VARIANT_TRUE},
      {10, VT_BOOL, nullptr, VARIANT_TRUE}, {11, VT_BOOL, nullptr, VARIANT_TRUE},
      {12, VT_BOOL, nullptr, VARIANT_TRUE}, {13, VT_BOOL, nullptr, VARIANT_FALSE},
      {14, VT_BOOL, nullptr, VARIANT_TRUE},
  };
  for (const auto& d : defaults) {
    ComVariant v;
    ASSERT_EQ(S_OK, GetProperty(control_.Get(), d.id, v.Get())) << d.id;
    ASSERT_EQ(d.vt, V_VT(v.Get())) << d.id;
    if (d.vt == VT_BSTR) {
      EXPECT_EQ(0u, SysStringLen(V_BSTR(v.Get()))) << d.id;
    } else if (d.vt == VT_I4) {
      EXPECT_EQ(d.number, V_I4(v.Get())) << d.id;
    } else {
      EXPECT_EQ(d.number, V_BOOL(v.Get())) << d.id;
    }
  }
}

TEST_F(PelioranObject, PutsCoerceToThePropertyTypeAndMarkTheControlModified) {
  auto persist = As<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_EQ(S_OK, persist->InitNew());
  EXPECT_EQ(S_FALSE, persist->IsDirty());

  ComVariant port;
  *port.Get() = TextVariant(L"8081");
  ASSERT_EQ(S_OK, PutProperty(control_.Get(), 2, *port.Get()));
  EXPECT_EQ(S_OK, persist->IsDirty());
  ComVariant got;
  ASSERT_EQ(S_OK, GetProperty(control_.Get(), 2, got.Get()));
  EXPECT_EQ(VT_I4, V_VT(got.Get()));
  EXPECT_EQ(8081, V_I4(got.Get()));

  VARIANT small;
  V_VT(&small) = VT_I2;
  V_I2(&small) = 5;
  ASSERT_EQ(S_OK, PutProperty(control_.Get(), 13, small));  // bAux1
  ASSERT_EQ(S_OK, GetProperty(control_.Get(), 13, got.Put()));
  EXPECT_EQ(VARIANT_TRUE, V_BOOL(got.Get()));

  ASSERT_EQ(S_OK, PutProperty(control_.Get(), 1, LongVariant(42)));  // strIpAddr from a number
  ASSERT_EQ(S_OK, GetProperty(control_.Get(), 1, got.Put()));
  EXPECT_STREQ(L"42", V_BSTR(got.Get()));

  // Read the way scripts call: method and property-get together.
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  ASSERT_EQ(S_OK, control_->Invoke(2, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none,
                                   got.Put(), nullptr, nullptr));
  EXPECT_EQ(8081, V_I4(got.Get()));
}

TEST_F(PelioranObject, BadCallsAreRefusedAndChangeNothing) {
  ComVariant text;
  *text.Get() = TextVariant(L"eighty");
  VARIANT arg = *text.Get();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put = {&arg, &named, 1, 1};
  UINT arg_err = 99;
  EXPECT_EQ(DISP_E_TYPEMISMATCH, control_->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put,
                                                  nullptr, nullptr, &arg_err));
  EXPECT_EQ(0u, arg_err);
  ComVariant got;
  ASSERT_EQ(S_OK, GetProperty(control_.Get(), 2, got.Get()));
  EXPECT_EQ(80, V_I4(got.Get()));

  DISPPARAMS empty_put = {nullptr, &named, 0, 1};
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, control_->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT,
                                                   &empty_put, nullptr, nullptr, nullptr));
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, GetProperty(control_.Get(), 99, got.Put()));
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, GetProperty(control_.Get(), -552, got.Put()));
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, control_->Invoke(2, IID_IDispatch, 0, DISPATCH_PROPERTYGET,
                                                      &none, got.Put(), nullptr, nullptr));
  VARIANT extra = LongVariant(1);
  DISPPARAMS about_args = {&extra, nullptr, 1, 0};
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, control_->Invoke(-552, IID_NULL, 0, DISPATCH_METHOD,
                                                   &about_args, nullptr, nullptr, nullptr));
}

TEST_F(PelioranObject, EmbeddingWithoutASite) {
  auto object = As<IOleObject>(IID_IOleObject);
  DWORD status = 0;
  ASSERT_EQ(S_OK, object->GetMiscStatus(DVASPECT_CONTENT, &status));
  EXPECT_EQ(0x00020191u, status);
  CLSID clsid;
  ASSERT_EQ(S_OK, object->GetUserClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_Pelioran, clsid));
  SIZEL size = {5000, 3000};
  ASSERT_EQ(S_OK, object->SetExtent(DVASPECT_CONTENT, &size));
  SIZEL back = {0, 0};
  ASSERT_EQ(S_OK, object->GetExtent(DVASPECT_CONTENT, &back));
  EXPECT_EQ(5000, back.cx);
  EXPECT_EQ(3000, back.cy);
  EXPECT_EQ(DV_E_DVASPECT, object->GetExtent(DVASPECT_ICON, &back));
  RECT pos = {0, 0, 100, 100};
  EXPECT_EQ(E_UNEXPECTED,
            object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, &pos));
  auto in_place = As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(E_FAIL, in_place->GetWindow(&window));
  EXPECT_EQ(nullptr, window);
  EXPECT_EQ(S_OK, in_place->SetObjectRects(nullptr, nullptr));

  auto control = As<IOleControl>(IID_IOleControl);
  CONTROLINFO info = {};
  info.cb = sizeof(info);
  ASSERT_EQ(S_OK, control->GetControlInfo(&info));
  EXPECT_EQ(0, info.cAccel);
  EXPECT_EQ(S_OK, control->FreezeEvents(TRUE));
  EXPECT_EQ(S_OK, control->FreezeEvents(FALSE));
}

TEST_F(PelioranObject, DrawsWhiteWithTheDividerBetweenPaneAndViewer) {
  auto view = As<IViewObject2>(IID_IViewObject2);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = 300;
  bmi.bmiHeader.biHeight = -40;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(nullptr, dib);
  HGDIOBJ old = SelectObject(dc, dib);
  RECT black = {0, 0, 300, 40};
  FillRect(dc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const RECTL bounds = {0, 0, 300, 40};
  EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds,
                             nullptr, nullptr, 0));
  GdiFlush();
  auto pixel = [&](int x, int y) {
    return static_cast<const DWORD*>(bits)[y * 300 + x] & 0xFFFFFF;
  };
  EXPECT_EQ(0xFFFFFFu, pixel(10, 10));
  EXPECT_EQ(0xFFFFFFu, pixel(189, 10));
  EXPECT_EQ(0x000000u, pixel(190, 10));  // the divider: x 190 and 191
  EXPECT_EQ(0x000000u, pixel(191, 10));
  EXPECT_EQ(0xFFFFFFu, pixel(192, 10));
  EXPECT_EQ(0xFFFFFFu, pixel(299, 39));
  EXPECT_EQ(DV_E_DVASPECT, view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds,
                                      nullptr, nullptr, 0));
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
}

}  // namespace
