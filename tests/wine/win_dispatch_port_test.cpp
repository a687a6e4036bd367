// The core's dispatch port over a real IDispatch: the viewer stand-in, driven through the
// core's viewer wrapper.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "com/ComPtr.h"
#include "com/ComVariant.h"
#include "hosted/SimpleViewer.h"
#include "hosted/SimpleViewerDispids.h"
#include "hosted/win/WinDispatchPort.h"

namespace {

using pel::Variant;
using pel::com::ComPtr;
using pel::com::ComVariant;
using pel::win::WinDispatchPort;
namespace vd = pel::viewer_dispid;

const CLSID kViewer = {0x775D096D, 0x0F0F, 0x45FA,
                       {0x8E, 0xE1, 0x4C, 0x1F, 0xD1, 0x94, 0x91, 0x0B}};

ComPtr<IDispatch> CreateViewer() {
  ComPtr<IDispatch> d;
  EXPECT_EQ(S_OK, pel::wintest::CreateFromDll(pel::wintest::BinPath(L"PelStandins.dll"), kViewer,
                                              IID_IDispatch, d.PutVoid()));
  return d;
}

TEST(WinDispatchPort, PropertiesReachTheComponentWithTheirComTypes) {
  ComPtr<IDispatch> raw = CreateViewer();
  ASSERT_TRUE(raw);
  WinDispatchPort port(raw);
  pel::CSimpleViewer viewer(&port);

  viewer.SetStrServerAddr("10.1.2.3");
  EXPECT_EQ("10.1.2.3", viewer.GetStrServerAddr());
  viewer.SetBShowCam(3, true);
  EXPECT_TRUE(viewer.GetBShowCam(3));
  EXPECT_FALSE(viewer.GetBShowCam(4));
  viewer.SetITileWidth(358);
  viewer.SetDScaleCam(2, 1.5);

  ComVariant v;
  ASSERT_EQ(S_OK, pel::wintest::GetProperty(raw.Get(), vd::kShowCam[2], v.Get()));
  EXPECT_EQ(VT_BOOL, V_VT(v.Get()));
  EXPECT_EQ(VARIANT_TRUE, V_BOOL(v.Get()));
  ASSERT_EQ(S_OK, pel::wintest::GetProperty(raw.Get(), vd::kTileWidth, v.Put()));
  ASSERT_EQ(VT_I4, V_VT(v.Get()));
  EXPECT_EQ(358, V_I4(v.Get()));
  ASSERT_EQ(S_OK, pel::wintest::GetProperty(raw.Get(), vd::kScaleCam[1], v.Put()));
  ASSERT_EQ(VT_R8, V_VT(v.Get()));
  EXPECT_EQ(1.5, V_R8(v.Get()));
  EXPECT_EQ(S_OK, port.LastResult());
}

TEST(WinDispatchPort, TextsCrossInTheAnsiCodePage) {
  ComPtr<IDispatch> raw = CreateViewer();
  ASSERT_TRUE(raw);
  WinDispatchPort port(raw);
  const std::string ansi = "Entr\xE9" "e Nord";  // é in Windows-1252
  port.PutProperty(vd::kCamName[0], Variant::Bstr(ansi));
  EXPECT_EQ(ansi, port.GetProperty(vd::kCamName[0]).text);

  wchar_t wide[32] = {};
  ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 32), 0);
  ComVariant v;
  ASSERT_EQ(S_OK, pel::wintest::GetProperty(raw.Get(), vd::kCamName[0], v.Get()));
  ASSERT_EQ(VT_BSTR, V_VT(v.Get()));
  EXPECT_EQ(std::wstring(wide), std::wstring(V_BSTR(v.Get())));
  if (GetACP() == 1252) {
    EXPECT_EQ(L"Entr\u00E9e Nord", std::wstring(V_BSTR(v.Get())));
  }
}

TEST(WinDispatchPort, MethodsTakeValuesAndFillByReferenceArguments) {
  ComPtr<IDispatch> raw = CreateViewer();
  ASSERT_TRUE(raw);
  WinDispatchPort port(raw);
  pel::CSimpleViewer viewer(&port);
  viewer.SetStrServerAddr("cams.example");
  viewer.SetIServerPort(8080);
  EXPECT_EQ("cams.example:8080", viewer.GetServerTag());

  Variant picture;
  Variant size;
  ASSERT_TRUE(viewer.GetJpegFrame(picture, size, 2));
  ASSERT_EQ(pel::kVtByteArray, picture.vt);
  ASSERT_GT(picture.bytes.size(), 200u);
  EXPECT_EQ(0xFF, picture.bytes[0]);
  EXPECT_EQ(0xD8, picture.bytes[1]);
  EXPECT_EQ(static_cast<int32_t>(picture.bytes.size()), size.AsInt());

  // A camera the component refuses leaves the arguments as they were.
  Variant untouched = Variant::Bstr("kept");
  Variant count = Variant::I4(-1);
  EXPECT_FALSE(viewer.GetBmpFrame(untouched, count, 7));
  EXPECT_EQ("kept", untouched.text);
  EXPECT_EQ(-1, count.AsInt());
}

TEST(WinDispatchPort, FailuresReadAsEmptyAndKeepTheirResult) {
  ComPtr<IDispatch> raw = CreateViewer();
  ASSERT_TRUE(raw);
  WinDispatchPort port(raw);
  EXPECT_EQ(pel::kVtEmpty, port.GetProperty(9999).vt);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, port.LastResult());
  std::vector<Variant> none;
  // SelectCamera takes one argument.
  EXPECT_EQ(pel::kVtEmpty, port.CallMethod(vd::kSelectCamera, none).vt);
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, port.LastResult());
  port.PutProperty(vd::kServerPort, Variant::Bstr("not a number"));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, port.LastResult());

  WinDispatchPort absent{ComPtr<IDispatch>()};
  absent.PutProperty(vd::kServerPort, Variant::I4(1));
  std::vector<Variant> args{Variant::I4(1)};
  EXPECT_EQ(pel::kVtEmpty, absent.CallMethod(vd::kSelectCamera, args).vt);
  EXPECT_EQ(1, args[0].AsInt());
}

}  // namespace
