// The viewer and serial/PTZ panel wrappers: each member reaches its DISPID with the right
// VARIANT type, camera families map cameras 1..6, and a missing component is harmless.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosted/NullDispatch.h"
#include "hosted/SFI_UART.h"
#include "hosted/SimpleViewer.h"
#include "support/RecordingDispatch.h"

namespace pel::test {
namespace {

class ViewerWrapper : public ::testing::Test {
 protected:
  CallLog log;
  RecordingDispatch dispatch{"viewer", log};
  CSimpleViewer viewer{&dispatch};
};

TEST_F(ViewerWrapper, SingleMembersPutTheirDispidWithTheirType) {
  viewer.SetStrServerAddr("10.0.0.5");
  viewer.SetIServerPort(8080);
  viewer.SetStrUserName("admin");
  viewer.SetStrPassword("pw");
  viewer.SetIServerId(3);
  viewer.SetBSingleView(true);
  viewer.SetIFrameInterval(45);
  viewer.SetBSequence(false);
  viewer.SetIViewOption7(12);
  viewer.SetITileWidth(352);
  viewer.SetITileHeight(288);
  viewer.SetStrProxyAddr("10.0.0.9");
  viewer.SetIProxyPort(3128);
  viewer.SetBViewOption8(true);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                             "viewer put 13 \"10.0.0.5\"", "viewer put 14 8080",
                             "viewer put 15 \"admin\"", "viewer put 16 \"pw\"", "viewer put 17 3",
                             "viewer put 22 TRUE", "viewer put 23 45", "viewer put 151 FALSE",
                             "viewer put 156 12", "viewer put 158 352", "viewer put 159 288",
                             "viewer put 160 \"10.0.0.9\"", "viewer put 161 3128",
                             "viewer put 264 TRUE"}));
}

TEST_F(ViewerWrapper, CameraFamiliesMapCamerasOneToSix) {
  for (int camera = 1; camera <= 6; ++camera) {
    viewer.SetDScaleCam(camera, 2.0);
    viewer.SetBConnectCam(camera, true);
    viewer.SetBShowCam(camera, camera % 2 == 0);
    viewer.SetStrCamName(camera, "C" + std::to_string(camera));
    viewer.SetBRefreshCam(camera, true);
    viewer.SetBViewOption(camera, camera != 5);
  }
  const std::vector<int> scale = {1, 2, 3, 4, 162, 163};
  const std::vector<int> connect = {5, 6, 7, 8, 164, 165};
  const std::vector<int> show = {18, 19, 20, 21, 168, 169};
  const std::vector<int> name = {67, 68, 69, 70, 188, 189};
  const std::vector<int> refresh = {152, 153, 154, 155, 228, 229};
  const std::vector<int> option = {53, 54, 55, 56, 57, 58};
  std::vector<std::string> expected;
  for (int i = 0; i < 6; ++i) {
    expected.push_back("viewer put " + std::to_string(scale[i]) + " R8:2");
    expected.push_back("viewer put " + std::to_string(connect[i]) + " TRUE");
    expected.push_back("viewer put " + std::to_string(show[i]) + ((i + 1) % 2 == 0 ? " TRUE" : " FALSE"));
    expected.push_back("viewer put " + std::to_string(name[i]) + " \"C" + std::to_string(i + 1) + "\"");
    expected.push_back("viewer put " + std::to_string(refresh[i]) + " TRUE");
    expected.push_back("viewer put " + std::to_string(option[i]) + (i == 4 ? " FALSE" : " TRUE"));
  }
  EXPECT_EQ(log.Lines(), expected);

  // The numbered members are the same calls.
  log.Clear();
  viewer.SetDScaleCam6(1.0);
  viewer.SetBConnectCam5(false);
  viewer.SetBShowCam4(true);
  viewer.SetStrCamName3("x");
  viewer.SetBRefreshCam2(false);
  viewer.SetBViewOption1(true);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"viewer put 163 R8:1", "viewer put 164 FALSE",
                                                    "viewer put 21 TRUE", "viewer put 69 \"x\"",
                                                    "viewer put 153 FALSE", "viewer put 53 TRUE"}));
}

TEST_F(ViewerWrapper, CameraNumbersOutsideOneToSixReachNoDispid) {
  for (int camera : {-1, 0, 7, 162}) {
    viewer.SetDScaleCam(camera, 2.0);
    viewer.SetBShowCam(camera, true);
    viewer.SetBRefreshCam(camera, true);
    viewer.SetStrCamName(camera, "x");
    EXPECT_FALSE(viewer.GetBShowCam(camera));
  }
  EXPECT_TRUE(log.calls().empty());
}

TEST_F(ViewerWrapper, GetsReadWhatTheComponentHolds) {
  dispatch.Preset(19, Variant::Bool(true));
  dispatch.Preset(151, Variant::Bool(true));
  dispatch.Preset(13, Variant::Bstr("10.1.1.1"));
  EXPECT_TRUE(viewer.GetBShowCam2());
  EXPECT_FALSE(viewer.GetBShowCam1());
  EXPECT_TRUE(viewer.GetBSequence());
  EXPECT_EQ(viewer.GetStrServerAddr(), "10.1.1.1");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"viewer get 19", "viewer get 18",
                                                    "viewer get 151", "viewer get 13"}));
}

TEST_F(ViewerWrapper, MethodsPassTheirArgumentsTyped) {
  dispatch.SetMethodResult(273, Variant::Bstr("kv:1"));
  dispatch.SetMethodResult(294, Variant::I4(2));
  viewer.SelectCamera(4);
  viewer.ClearSelection();
  EXPECT_EQ(viewer.GetServerTag(), "kv:1");
  EXPECT_EQ(viewer.GetCodecType(3), 2);
  viewer.EnableStreamAudio(1);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"viewer call 276 (4)", "viewer call 277",
                                                    "viewer call 273", "viewer call 294 (3)",
                                                    "viewer call 295 (1)"}));
}

TEST_F(ViewerWrapper, FrameMethodsReturnTheComponentsByReferenceValues) {
  dispatch.SetMethodHandler(267, [](std::vector<Variant>& args) {
    EXPECT_EQ(args.size(), 3u);
    EXPECT_EQ(args[2], Variant::I2(2));
    // VARIANT* picture and size; the camera a short by value.
    EXPECT_TRUE(args[0].byRef && args[1].byRef && !args[2].byRef);
    args[0] = Variant::ByteArray({0xFF, 0xD8, 0xFF, 0xD9});
    args[1] = Variant::Int(4);
    return Variant::Bool(true);
  });
  Variant picture;
  Variant size;
  EXPECT_TRUE(viewer.GetJpegFrame(picture, size, 2));
  EXPECT_EQ(picture.vt, kVtArray | kVtUi1);
  EXPECT_EQ(picture.bytes, (std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}));
  EXPECT_EQ(size, Variant::Int(4));

  Variant bmp;
  Variant bmpSize;
  EXPECT_FALSE(viewer.GetBmpFrame(bmp, bmpSize, 5));
  EXPECT_EQ(log.LinesOf("viewer").back(), "viewer call 268 (EMPTY, EMPTY, I2:5)");
  EXPECT_TRUE(bmp.IsEmpty());
}

TEST(UartWrapper, EveryMemberReachesItsDispid) {
  CallLog log;
  RecordingDispatch dispatch("uart", log);
  CSFI_UART uart(&dispatch);
  uart.SetIPanelMode(2);
  uart.SetIFuncOptions(static_cast<int32_t>(0x80000005u));
  uart.SetIInitMode(2);
  uart.SetStrServerAddr("10.0.0.5");
  uart.SetIServerPort(80);
  uart.SetStrUserName("u");
  uart.SetStrPassword("p");
  uart.SetIChannel(3);
  uart.SetIServerId(1);
  uart.SetIUartParam14(0);
  uart.SetStrUartParam15("");
  uart.EnablePanel(true);
  uart.EnablePtz(false);
  uart.ApplySettings();
  uart.RefreshPanel();
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                             "uart put 1 2", "uart put 2 -2147483643", "uart put 4 2",
                             "uart put 8 \"10.0.0.5\"", "uart put 9 80", "uart put 10 \"u\"",
                             "uart put 11 \"p\"", "uart put 12 3", "uart put 13 1",
                             "uart put 14 0", "uart put 15 \"\"", "uart call 36 (TRUE)",
                             "uart call 40 (FALSE)", "uart call 41", "uart call 42"}));
}

TEST(MissingComponent, ReadsFalseAndEmptyAndIgnoresPuts) {
  CSimpleViewer viewer(nullptr);
  EXPECT_FALSE(viewer.IsCreated());
  viewer.SetStrServerAddr("10.0.0.1");
  viewer.SetBShowCam(1, true);
  viewer.SetBSequence(true);
  EXPECT_EQ(viewer.GetStrServerAddr(), "");
  EXPECT_FALSE(viewer.GetBShowCam(1));
  EXPECT_FALSE(viewer.GetBSequence());
  EXPECT_EQ(viewer.GetServerTag(), "");
  EXPECT_EQ(viewer.GetCodecType(1), 0);
  Variant picture = Variant::I4(7);
  Variant size;
  EXPECT_FALSE(viewer.GetJpegFrame(picture, size, 1));
  EXPECT_EQ(picture, Variant::I4(7));  // left as it was

  CallLog log;
  RecordingDispatch dispatch("viewer", log);
  viewer.Attach(&dispatch);
  EXPECT_TRUE(viewer.IsCreated());
  viewer.SetBSequence(true);
  EXPECT_TRUE(viewer.GetBSequence());
  viewer.Attach(nullptr);
  EXPECT_FALSE(viewer.GetBSequence());
}

TEST(VariantValues, ReadLenientlyAndCompareByType) {
  EXPECT_TRUE(Variant::I4(5).AsBool());
  EXPECT_FALSE(Variant::Bstr("TRUE").AsBool());
  EXPECT_EQ(Variant::Bool(true).AsInt(), -1);
  EXPECT_EQ(Variant::I2(-3).AsInt(), -3);
  EXPECT_EQ(Variant::I4(3).AsText(), "");
  EXPECT_NE(Variant::I4(1), Variant::I2(1));
  EXPECT_NE(Variant::R8(1.0), Variant::R8(2.0));
  EXPECT_EQ(Variant::Ui1(200).i, 200);
  EXPECT_EQ(Variant::ByteArray({1}).vt, 0x2011);
}

}  // namespace
}  // namespace pel::test
