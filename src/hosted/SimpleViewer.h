#pragma once

#include <cstdint>
#include <string>

#include "hosted/HostedComponent.h"
#include "hosted/SimpleViewerDispids.h"

namespace pel {

// The hosted video viewer, child control 206 of the control: one member function per DISPID.
// Camera-indexed helpers take cameras 1..6 and do nothing (or read FALSE) for other numbers.
class CSimpleViewer : public HostedComponent {
 public:
  using HostedComponent::HostedComponent;

  // Camera-indexed families.
  void SetDScaleCam(int camera, double scale) { PutFamily(viewer_dispid::kScaleCam, camera, Variant::R8(scale)); }
  void SetBConnectCam(int camera, bool on) { PutFamily(viewer_dispid::kConnectCam, camera, Variant::Bool(on)); }
  void SetBShowCam(int camera, bool on) { PutFamily(viewer_dispid::kShowCam, camera, Variant::Bool(on)); }
  bool GetBShowCam(int camera) {
    const int32_t dispid = CameraDispid(viewer_dispid::kShowCam, camera);
    return dispid >= 0 && GetBool(dispid);
  }
  void SetStrCamName(int camera, const std::string& name) {
    PutFamily(viewer_dispid::kCamName, camera, Variant::Bstr(name));
  }
  void SetBRefreshCam(int camera, bool on) { PutFamily(viewer_dispid::kRefreshCam, camera, Variant::Bool(on)); }
  // Options 1 to 6 (the BOOL options; 7 and 8 have their own members).
  void SetBViewOption(int option, bool on) { PutFamily(viewer_dispid::kViewOption, option, Variant::Bool(on)); }

  // One member per DISPID.
  void SetDScaleCam1(double v) { SetDScaleCam(1, v); }
  void SetDScaleCam2(double v) { SetDScaleCam(2, v); }
  void SetDScaleCam3(double v) { SetDScaleCam(3, v); }
  void SetDScaleCam4(double v) { SetDScaleCam(4, v); }
  void SetDScaleCam5(double v) { SetDScaleCam(5, v); }
  void SetDScaleCam6(double v) { SetDScaleCam(6, v); }
  void SetBConnectCam1(bool v) { SetBConnectCam(1, v); }
  void SetBConnectCam2(bool v) { SetBConnectCam(2, v); }
  void SetBConnectCam3(bool v) { SetBConnectCam(3, v); }
  void SetBConnectCam4(bool v) { SetBConnectCam(4, v); }
  void SetBConnectCam5(bool v) { SetBConnectCam(5, v); }
  void SetBConnectCam6(bool v) { SetBConnectCam(6, v); }
  void SetStrServerAddr(const std::string& v) { PutText(viewer_dispid::kServerAddr, v); }
  std::string GetStrServerAddr() { return GetText(viewer_dispid::kServerAddr); }
  void SetIServerPort(int32_t v) { PutLong(viewer_dispid::kServerPort, v); }
  void SetStrUserName(const std::string& v) { PutText(viewer_dispid::kUserName, v); }
  void SetStrPassword(const std::string& v) { PutText(viewer_dispid::kPassword, v); }
  void SetIServerId(int32_t v) { PutLong(viewer_dispid::kServerId, v); }
  void SetBShowCam1(bool v) { SetBShowCam(1, v); }
  void SetBShowCam2(bool v) { SetBShowCam(2, v); }
  void SetBShowCam3(bool v) { SetBShowCam(3, v); }
  void SetBShowCam4(bool v) { SetBShowCam(4, v); }
  void SetBShowCam5(bool v) { SetBShowCam(5, v); }
  void SetBShowCam6(bool v) { SetBShowCam(6, v); }
  bool GetBShowCam1() { return GetBShowCam(1); }
  bool GetBShowCam2() { return GetBShowCam(2); }
  bool GetBShowCam3() { return GetBShowCam(3); }
  bool GetBShowCam4() { return GetBShowCam(4); }
  bool GetBShowCam5() { return GetBShowCam(5); }
  bool GetBShowCam6() { return GetBShowCam(6); }
  void SetBSingleView(bool v) { PutBool(viewer_dispid::kSingleView, v); }
  void SetIFrameInterval(int32_t v) { PutLong(viewer_dispid::kFrameInterval, v); }
  void SetBViewOption1(bool v) { SetBViewOption(1, v); }
  void SetBViewOption2(bool v) { SetBViewOption(2, v); }
  void SetBViewOption3(bool v) { SetBViewOption(3, v); }
  void SetBViewOption4(bool v) { SetBViewOption(4, v); }
  void SetBViewOption5(bool v) { SetBViewOption(5, v); }
  void SetBViewOption6(bool v) { SetBViewOption(6, v); }
  void SetStrCamName1(const std::string& v) { SetStrCamName(1, v); }
  void SetStrCamName2(const std::string& v) { SetStrCamName(2, v); }
  void SetStrCamName3(const std::string& v) { SetStrCamName(3, v); }
  void SetStrCamName4(const std::string& v) { SetStrCamName(4, v); }
  void SetStrCamName5(const std::string& v) { SetStrCamName(5, v); }
  void SetStrCamName6(const std::string& v) { SetStrCamName(6, v); }
  void SetBSequence(bool v) { PutBool(viewer_dispid::kSequence, v); }
  bool GetBSequence() { return GetBool(viewer_dispid::kSequence); }
  void SetBRefreshCam1(bool v) { SetBRefreshCam(1, v); }
  void SetBRefreshCam2(bool v) { SetBRefreshCam(2, v); }
  void SetBRefreshCam3(bool v) { SetBRefreshCam(3, v); }
  void SetBRefreshCam4(bool v) { SetBRefreshCam(4, v); }
  void SetBRefreshCam5(bool v) { SetBRefreshCam(5, v); }
  void SetBRefreshCam6(bool v) { SetBRefreshCam(6, v); }
  void SetIViewOption7(int32_t v) { PutLong(viewer_dispid::kViewOption7, v); }
  void SetITileWidth(int32_t v) { PutLong(viewer_dispid::kTileWidth, v); }
  void SetITileHeight(int32_t v) { PutLong(viewer_dispid::kTileHeight, v); }
  void SetStrProxyAddr(const std::string& v) { PutText(viewer_dispid::kProxyAddr, v); }
  void SetIProxyPort(int32_t v) { PutLong(viewer_dispid::kProxyPort, v); }
  void SetBViewOption8(bool v) { PutBool(viewer_dispid::kViewOption8, v); }

  // GetJpegFrame(VARIANT* picture, VARIANT* size, short camera) and GetBmpFrame: the
  // component fills `picture` (VT_ARRAY|VT_UI1) and `size` (VT_INT). The BOOL result.
  bool GetJpegFrame(Variant& picture, Variant& size, int16_t camera) {
    return FrameCall(viewer_dispid::kGetJpegFrame, picture, size, camera);
  }
  bool GetBmpFrame(Variant& picture, Variant& size, int16_t camera) {
    return FrameCall(viewer_dispid::kGetBmpFrame, picture, size, camera);
  }
  std::string GetServerTag() { return Call(viewer_dispid::kGetServerTag).AsText(); }
  void SelectCamera(int32_t camera) { Call(viewer_dispid::kSelectCamera, {Variant::I4(camera)}); }
  void ClearSelection() { Call(viewer_dispid::kClearSelection); }
  int32_t GetCodecType(int32_t camera) {
    return Call(viewer_dispid::kGetCodecType, {Variant::I4(camera)}).AsInt();
  }
  void EnableStreamAudio(int32_t mode) { Call(viewer_dispid::kEnableStreamAudio, {Variant::I4(mode)}); }

 private:
  bool FrameCall(int32_t dispid, Variant& picture, Variant& size, int16_t camera);
};

}  // namespace pel
