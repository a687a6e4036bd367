// The stand-ins of the outside components, registered with regsvr32 and created by CLSID.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "EventRecorder.h"
#include "WinTestSupport.h"
#include "com/ComPtr.h"
#include "com/ComVariant.h"

namespace {

using pel::com::ComPtr;
using pel::com::ComVariant;
using namespace pel::wintest;

const CLSID kViewer = {0x775D096D, 0x0F0F, 0x45FA,
                       {0x8E, 0xE1, 0x4C, 0x1F, 0xD1, 0x94, 0x91, 0x0B}};
const CLSID kUart = {0xDBFD22D6, 0x5229, 0x407D, {0xA4, 0x07, 0xE1, 0x5D, 0x7F, 0xF3, 0x52, 0x53}};
const CLSID kVoice = {0xBA04A117, 0x26C3, 0x4C87,
                      {0xA3, 0xBA, 0xF3, 0xD7, 0xA1, 0xD8, 0xC4, 0xFE}};

// A member as the control uses it: property (put and get) with its type, or a method.
struct Member {
  DISPID id;
  VARTYPE vt;  // VT_EMPTY: a method
};

class Standins : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    registered_ = Regsvr32(BinPath(L"PelStandins.dll"), false);
    log_ = TempFile(L"standins.log");
    SetEnvironmentVariableW(L"PEL_STANDIN_LOG", log_.c_str());
  }
  static void TearDownTestSuite() {
    SetEnvironmentVariableW(L"PEL_STANDIN_LOG", nullptr);
    DeleteFileW(log_.c_str());
  }
  void SetUp() override {
    ASSERT_EQ(0, registered_);
    DeleteFileW(log_.c_str());
  }
  static ComPtr<IDispatch> Create(REFCLSID clsid) {
    ComPtr<IDispatch> d;
    EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     d.PutVoid()));
    return d;
  }
  static std::string Log() { return ReadFileBytes(log_); }

  // Puts a value of the member's type and reads it back.
  static void PutAndGetEveryProperty(IDispatch* d, const std::vector<Member>& members) {
    for (const Member& m : members) {
      if (m.vt == VT_EMPTY) continue;
      ComVariant value;
      switch (m.vt) {
        case VT_BSTR: *value.Get() = TextVariant(L"t"); break;
        case VT_BOOL: *value.Get() = BoolVariant(true); break;
        case VT_R8:
          V_VT(value.Get()) = VT_R8;
          V_R8(value.Get()) = 2.0;
          break;
        default: *value.Get() = LongVariant(m.id + 1000); break;
      }
      ASSERT_EQ(S_OK, PutProperty(d, m.id, *value.Get())) << m.id;
      ComVariant back;
      ASSERT_EQ(S_OK, GetProperty(d, m.id, back.Get())) << m.id;
      EXPECT_EQ(VARCMP_EQ, VarCmp(value.Get(), back.Get(), LOCALE_USER_DEFAULT, 0)) << m.id;
    }
  }

  static int registered_;
  static std::wstring log_;
};
int Standins::registered_ = -1;
std::wstring Standins::log_;

TEST_F(Standins, ViewerTakesEveryMemberTheControlUses) {
  auto viewer = Create(kViewer);
  ASSERT_TRUE(viewer);
  std::vector<Member> members;
  for (DISPID id : {1, 2, 3, 4, 162, 163}) members.push_back({id, VT_R8});
  for (DISPID id : {5, 6, 7, 8, 164, 165, 18, 19, 20, 21, 168, 169, 22, 53, 54, 55, 56, 57, 58,
                    151, 152, 153, 154, 155, 228, 229, 264}) {
    members.push_back({id, VT_BOOL});
  }
  for (DISPID id : {13, 15, 16, 67, 68, 69, 70, 188, 189, 160}) members.push_back({id, VT_BSTR});
  for (DISPID id : {14, 17, 23, 156, 158, 159, 161}) members.push_back({id, VT_I4});
  PutAndGetEveryProperty(viewer.Get(), members);

  ComVariant result;
  EXPECT_EQ(S_OK, CallMethod(viewer.Get(), 276, {LongVariant(2)}, result.Get()));  // SelectCamera
  EXPECT_EQ(S_OK, CallMethod(viewer.Get(), 277, {}, result.Put()));                // ClearSelection
  EXPECT_EQ(S_OK, CallMethod(viewer.Get(), 294, {LongVariant(1)}, result.Put()));  // GetCodecType
  EXPECT_EQ(VT_I4, V_VT(result.Get()));
  EXPECT_EQ(0, V_I4(result.Get()));
  // EnableStreamAudio
  EXPECT_EQ(S_OK, CallMethod(viewer.Get(), 295, {LongVariant(0)}, result.Put()));
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, GetProperty(viewer.Get(), 300, result.Put()));
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, CallMethod(viewer.Get(), 276, {}, result.Put()));
}

TEST_F(Standins, ViewerKeepsValuesAndLogsEveryCall) {
  auto viewer = Create(kViewer);
  ComVariant result;
  // Never put: the empty value of its type.
  ASSERT_EQ(S_OK, GetProperty(viewer.Get(), 151, result.Get()));
  EXPECT_EQ(VT_BOOL, V_VT(result.Get()));
  EXPECT_EQ(VARIANT_FALSE, V_BOOL(result.Get()));
  ComVariant address;
  *address.Get() = TextVariant(L"127.0.0.1");
  ASSERT_EQ(S_OK, PutProperty(viewer.Get(), 13, *address.Get()));
  ASSERT_EQ(S_OK, PutProperty(viewer.Get(), 14, LongVariant(8081)));
  ASSERT_EQ(S_OK, CallMethod(viewer.Get(), 273, {}, result.Put()));  // GetServerTag
  ASSERT_EQ(VT_BSTR, V_VT(result.Get()));
  EXPECT_STREQ(L"127.0.0.1:8081", V_BSTR(result.Get()));
  ASSERT_EQ(S_OK, GetProperty(viewer.Get(), 13, result.Put()));
  EXPECT_STREQ(L"127.0.0.1", V_BSTR(result.Get()));
  EXPECT_EQ(S_OK, CallMethod(viewer.Get(), 276, {LongVariant(4)}, result.Put()));

  EXPECT_EQ("viewer\t151\tbSequence\tget\tFALSE\n"
            "viewer\t13\tstrServerAddr\tput\t127.0.0.1\n"
            "viewer\t14\tiServerPort\tput\t8081\n"
            "viewer\t273\tGetServerTag\tcall\t -> 127.0.0.1:8081\n"
            "viewer\t13\tstrServerAddr\tget\t127.0.0.1\n"
            "viewer\t276\tSelectCamera\tcall\t4\n",
            Log());
}

std::vector<uint8_t> Frame(IDispatch* viewer, DISPID method, short camera, bool& ok) {
  VARIANT picture, size;
  VariantInit(&picture);
  VariantInit(&size);
  VARIANT picture_ref, size_ref, cam;
  V_VT(&picture_ref) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&picture_ref) = &picture;
  V_VT(&size_ref) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&size_ref) = &size;
  V_VT(&cam) = VT_I2;
  V_I2(&cam) = camera;
  ComVariant result;
  ok = false;
  std::vector<uint8_t> bytes;
  if (FAILED(CallMethod(viewer, method, {picture_ref, size_ref, cam}, result.Get()))) return bytes;
  ok = V_VT(result.Get()) == VT_BOOL && V_BOOL(result.Get()) == VARIANT_TRUE;
  if (V_VT(&picture) == (VT_ARRAY | VT_UI1) && V_VT(&size) == VT_INT) {
    void* data = nullptr;
    SafeArrayAccessData(V_ARRAY(&picture), &data);
    bytes.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + V_INT(&size));
    SafeArrayUnaccessData(V_ARRAY(&picture));
    EXPECT_EQ(V_ARRAY(&picture)->rgsabound[0].cElements, static_cast<ULONG>(V_INT(&size)));
  }
  VariantClear(&picture);
  VariantClear(&size);
  return bytes;
}

// Copies a snapshot for the decoding check on the Linux side when PEL_IMAGE_DIR names a folder.
void Keep(const std::vector<uint8_t>& bytes, const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"PEL_IMAGE_DIR", dir, MAX_PATH) == 0) return;
  WriteFileBytes(std::wstring(dir) + L"\\" + name, bytes);
}

unsigned U16Be(const std::vector<uint8_t>& b, size_t at) { return (b[at] << 8) | b[at + 1]; }
uint32_t U32Le(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, &b[at], 4);
  return v;
}

TEST_F(Standins, ViewerJpegSnapshotIsACompleteBaselineFile) {
  auto viewer = Create(kViewer);
  bool ok = false;
  const std::vector<uint8_t> jpeg = Frame(viewer.Get(), 267, 2, ok);
  EXPECT_TRUE(ok);
  ASSERT_GT(jpeg.size(), 200u);
  EXPECT_EQ(0xFF, jpeg[0]);
  EXPECT_EQ(0xD8, jpeg[1]);
  EXPECT_EQ(0xFF, jpeg[jpeg.size() - 2]);
  EXPECT_EQ(0xD9, jpeg[jpeg.size() - 1]);
  // Walk the marker segments to the baseline frame header.
  size_t at = 2;
  bool frame = false;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
    if (jpeg[at + 1] == 0xC0) {
      frame = true;
      EXPECT_EQ(8, jpeg[at + 4]);
      EXPECT_EQ(288u, U16Be(jpeg, at + 5));
      EXPECT_EQ(352u, U16Be(jpeg, at + 7));
      EXPECT_EQ(3, jpeg[at + 9]);
    }
    at += 2 + U16Be(jpeg, at + 2);
  }
  EXPECT_TRUE(frame);
  EXPECT_EQ(0xDA, jpeg[at + 1]);
  Keep(jpeg, L"viewer-cam2.jpg");

  ASSERT_EQ(S_OK, PutProperty(viewer.Get(), 159, LongVariant(240)));
  Keep(Frame(viewer.Get(), 267, 6, ok), L"viewer-cam6-240.jpg");
  EXPECT_TRUE(ok);
  EXPECT_TRUE(Frame(viewer.Get(), 267, 7, ok).empty());
  EXPECT_FALSE(ok);
}

TEST_F(Standins, ViewerBmpSnapshotHasConsistentHeaders) {
  auto viewer = Create(kViewer);
  bool ok = false;
  const std::vector<uint8_t> bmp = Frame(viewer.Get(), 268, 3, ok);
  EXPECT_TRUE(ok);
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ('B', bmp[0]);
  EXPECT_EQ('M', bmp[1]);
  EXPECT_EQ(bmp.size(), U32Le(bmp, 2));      // file size
  EXPECT_EQ(54u, U32Le(bmp, 10));            // pixel offset
  EXPECT_EQ(40u, U32Le(bmp, 14));            // BITMAPINFOHEADER
  EXPECT_EQ(352u, U32Le(bmp, 18));           // width
  EXPECT_EQ(288u, U32Le(bmp, 22));           // height, bottom-up
  EXPECT_EQ(24, bmp[28]);                    // bits per pixel
  EXPECT_EQ(0u, U32Le(bmp, 30));             // BI_RGB
  EXPECT_EQ(54u + 352 * 3 * 288, bmp.size());
  // Camera 3's colour, away from its caption: blue 200, green 90, red 60.
  const size_t pixel = 54 + (10 * 352 + 300) * 3;
  EXPECT_EQ(200, bmp[pixel]);
  EXPECT_EQ(90, bmp[pixel + 1]);
  EXPECT_EQ(60, bmp[pixel + 2]);
  Keep(bmp, L"viewer-cam3.bmp");
}

TEST_F(Standins, ViewerReportsPictureWidthsAtEachConnect) {
  auto viewer = Create(kViewer);
  EventConnection events;
  ASSERT_EQ(S_OK, ConnectEvents(viewer.Get(), events));
  ASSERT_EQ(S_OK, PutProperty(viewer.Get(), 18, BoolVariant(true)));    // bShowCam1
  ASSERT_EQ(S_OK, PutProperty(viewer.Get(), 21, BoolVariant(true)));    // bShowCam4
  ComVariant empty, address;
  *empty.Get() = TextVariant(L"");
  *address.Get() = TextVariant(L"127.0.0.1");
  ASSERT_EQ(S_OK, PutProperty(viewer.Get(), 13, *empty.Get()));   // disconnect: nothing
  EXPECT_TRUE(events.recorder->Events().empty());
  ASSERT_EQ(S_OK, PutProperty(viewer.Get(), 13, *address.Get()));
  const auto& fired = events.recorder->Events();
  ASSERT_EQ(2u, fired.size());
  const long cams[2] = {1, 4};
  for (size_t k = 0; k < 2; ++k) {
    EXPECT_EQ(7, fired[k].id);
    ASSERT_EQ(5u, fired[k].args.size());
    EXPECT_EQ(VT_I2, fired[k].args[0].vt);
    EXPECT_EQ(cams[k], fired[k].args[0].value);
    EXPECT_EQ(VT_I4, fired[k].args[1].vt);
    EXPECT_EQ(352, fired[k].args[1].value);
  }
  EXPECT_NE(std::string::npos, Log().find("viewer\t7\t\tevent\t4,352,0,0,0\n"));
}

TEST_F(Standins, PanelTakesItsMembersAndReportsItsSize) {
  auto panel = Create(kUart);
  ASSERT_TRUE(panel);
  std::vector<Member> members;
  for (DISPID id : {1, 2, 4, 9, 12, 13, 14}) members.push_back({id, VT_I4});
  for (DISPID id : {8, 10, 11, 15}) members.push_back({id, VT_BSTR});
  PutAndGetEveryProperty(panel.Get(), members);
  EventConnection events;
  ASSERT_EQ(S_OK, ConnectEvents(panel.Get(), events));
  ComVariant result;
  EXPECT_EQ(S_OK, CallMethod(panel.Get(), 40, {BoolVariant(true)}, result.Get()));  // EnablePtz
  EXPECT_EQ(S_OK, CallMethod(panel.Get(), 41, {}, result.Put()));   // ApplySettings
  EXPECT_EQ(S_OK, CallMethod(panel.Get(), 42, {}, result.Put()));   // RefreshPanel
  EXPECT_TRUE(events.recorder->Events().empty());
  EXPECT_EQ(S_OK, CallMethod(panel.Get(), 36, {BoolVariant(true)}, result.Put()));  // EnablePanel
  ASSERT_EQ(1u, events.recorder->Events().size());
  const auto& size = events.recorder->Events()[0];
  EXPECT_EQ(1, size.id);
  ASSERT_EQ(2u, size.args.size());
  EXPECT_EQ(164, size.args[0].value);
  EXPECT_EQ(394, size.args[1].value);
  EXPECT_NE(std::string::npos, Log().find("uart\t40\tEnablePtz\tcall\tTRUE\n"));
}

TEST_F(Standins, VoiceComponentLevelsAndConnectionStatus) {
  auto voice = Create(kVoice);
  ASSERT_TRUE(voice);
  ComVariant v;
  ASSERT_EQ(S_OK, GetProperty(voice.Get(), 9, v.Get()));   // MicLevelMax
  EXPECT_EQ(100, V_I4(v.Get()));
  ASSERT_EQ(S_OK, GetProperty(voice.Get(), 12, v.Put()));  // SpeakerLevel
  EXPECT_EQ(50, V_I4(v.Get()));
  PutAndGetEveryProperty(voice.Get(), {{1, VT_BSTR}, {2, VT_I4}, {3, VT_BSTR}, {4, VT_BSTR},
                                       {11, VT_I4}, {12, VT_I4}, {13, VT_BOOL}});
  EventConnection events;
  ASSERT_EQ(S_OK, ConnectEvents(voice.Get(), events));
  ComVariant result;
  EXPECT_EQ(S_OK, CallMethod(voice.Get(), 16, {}, result.Get()));  // Connect
  EXPECT_EQ(S_OK, CallMethod(voice.Get(), 17, {}, result.Put()));  // Disconnect
  SetEnvironmentVariableW(L"PEL_STANDIN_VOICE_RESULT", L"8,1");
  EXPECT_EQ(S_OK, CallMethod(voice.Get(), 16, {}, result.Put()));
  SetEnvironmentVariableW(L"PEL_STANDIN_VOICE_RESULT", nullptr);
  const auto& fired = events.recorder->Events();
  ASSERT_EQ(3u, fired.size());
  const long codes[3][2] = {{1, 0}, {7, 0}, {8, 1}};
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(1, fired[k].id);
    ASSERT_EQ(3u, fired[k].args.size());
    EXPECT_EQ(codes[k][0], fired[k].args[0].value) << k;
    EXPECT_EQ(codes[k][1], fired[k].args[1].value) << k;
  }
}

}  // namespace
