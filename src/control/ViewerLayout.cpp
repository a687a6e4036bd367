#include "control/PelioranCtrl.h"
#include "hosted/SFI_UART.h"

namespace pel {

void CPelioranCtrl::MoveViewerTo(int width) {
  ports_.window.MoveViewer(x_ + viewerLeft_, y_ + viewerTop_, width,
                           geometry::ViewerHeight(module_.iVideoFormat), true);
}

void CPelioranCtrl::RecomputeViewerLayout() {
  // While the viewer runs its own sequence it decides what is shown.
  if (viewer_.GetBSequence()) return;

  int32_t count = 0;
  int32_t lowest = 0;
  for (int camera = 1; camera <= 6; ++camera) {
    if (!viewer_.GetBShowCam(camera)) continue;
    if (count == 0) lowest = camera;
    ++count;
  }

  const bool wasWide = iCamsOnPrev_ >= 5 && iCamsOnPrev_ <= 6;
  const bool isWide = count >= 5;
  if (wasWide != isWide) MoveViewerTo(geometry::ViewerWidth(count));

  if (count == 0) {
    if (!viewer_.GetStrServerAddr().empty()) {
      viewer_.SetStrServerAddr("");
      viewer_.SetBSequence(false);
      for (int camera = 1; camera <= 6; ++camera) viewer_.SetBConnectCam(camera, false);
    }
  } else {
    // The viewer connects to the address as it stands now: the site lock has its word first.
    if (viewer_.GetStrServerAddr().empty() &&
        site_.AllowRequest(props_.strIpAddr, props_.strIpAddrProxy)) {
      for (int camera = 1; camera <= 6; ++camera) viewer_.SetBConnectCam(camera, true);
      viewer_.SetBSequence(false);
      viewer_.SetStrServerAddr(props_.strIpAddr);
    }
    if (count == 1) {
      viewer_.SetITileWidth(0);
      viewer_.SetITileHeight(0);
      viewer_.SetBSequence(false);
      viewer_.SetBSingleView(true);
    } else {
      viewer_.SetITileWidth(geometry::kTileWidth);
      viewer_.SetITileHeight(geometry::TileHeight(module_.iVideoFormat));
      viewer_.SetBSequence(false);
      viewer_.SetBSingleView(false);
      for (int camera = 1; camera <= 6; ++camera) viewer_.SetDScaleCam(camera, 1.0);
    }
  }

  SetSelectedCamera(doubleCamera_ >= 0 && count > 0 ? doubleCamera_ : lowest);
  viewer_.ClearSelection();
  viewer_.SelectCamera(iSelCam_);
  iCamsOnPrev_ = count;
  iCamsOn_ = count;
  ports_.window.Invalidate(true);
  ports_.window.Update();
}

void CPelioranCtrl::AimPtzPanel(int32_t camera) {
  if (pane_ == nullptr) return;
  CSFI_UART& uart = pane_->Uart();
  const bool isCamera = camera >= 1 && camera <= 6;
  const bool admitted =
      isCamera && module_.bPtzInstalled[static_cast<size_t>(camera - 1)] != 0 &&
      (pane_->ServerFields().iBuildDate >= 0 || props_.iSvrID == 0) &&
      ((module_.dwPtzRights >> (camera - 1)) & 1u) != 0;
  if (!admitted) {
    uart.EnablePtz(false);
    return;
  }
  uart.EnablePtz(true);
  uart.SetIChannel(camera - 1);
  uart.ApplySettings();
  uart.RefreshPanel();
}

void CPelioranCtrl::OnViewerCameraSelected(int32_t camera) {
  SetSelectedCamera(camera);
  AimPtzPanel(iSelCam_);
}

void CPelioranCtrl::OnViewerPictureWidth(int16_t camera, int32_t width) {
  if (camera >= 1 && camera <= 6) pictureWidth_[static_cast<size_t>(camera - 1)] = width;
  ports_.window.PostCameraLayout();
}

}  // namespace pel
