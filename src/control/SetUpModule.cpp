#include <algorithm>
#include <cstdio>

#include "control/PelioranCtrl.h"
#include "hosted/SFI_UART.h"
#include "serverinfo/ModulePage.h"
#include "control/PageFetch.h"

namespace pel {

namespace {

// Speed list texts for the 480-line and the 576-line format, and their frame intervals.
constexpr const char* kSpeedTexts480[6] = {"fastest", "15 fps", "10 fps", " 5 fps", " 2 fps", " 1 fps"};
constexpr const char* kSpeedTexts576[6] = {"fastest", "12 fps", " 8 fps", " 5 fps", " 2 fps", " 1 fps"};
constexpr int32_t kFrameIntervals[6] = {0, 6, 10, 20, 45, 100};

// Module Selection label and module list.
constexpr uint32_t kCtlsModuleList = 0x3;
// Cam1 is bit 2; Cam2..Cam6 follow.
constexpr uint32_t kCtlsCam1 = 0x4;
// All, None, Sequence.
constexpr uint32_t kCtlsCameraGroup = 0x1300;
// Speed label, speed list, Pause, Snap, 1x, 2x, Voice, Relay output.
constexpr uint32_t kCtlsAlways = 0x7EC00;

// Bits of the view rights mask that a camera number can stand for.
constexpr int32_t kMaskBits = 32;

bool Bit(uint32_t mask, int32_t n) { return n >= 0 && n < kMaskBits && ((mask >> n) & 1u) != 0; }

}  // namespace

void CPelioranCtrl::ApplyFailedModuleRead() {
  module_.iNumCam = 0;
  module_.iVideoFormat = 0;
  module_.iNumDo = 0;
}

void CPelioranCtrl::SetUpModule(int32_t m) {
  if (pane_ == nullptr) return;
  props_.iSvrID = m;

  char path[64];
  std::snprintf(path, sizeof path, kModuleInfoPathFormat, static_cast<int>(m));
  PageBuffer page;
  modulePageRead_ = FetchPage(path, props_, ports_.messages, page, &site_);
  if (modulePageRead_ != PageReadOutcome::kRead) {
    ApplyFailedModuleRead();
    return;
  }
  const ModulePageValues values = ParseModulePage(page.Text());
  module_.iNumCam = values.iNumCam;
  module_.iVideoFormat = values.iVideoFormat;
  module_.iNumDo = values.iNumDo;

  const ModuleRights rights = RightsForModule(server_.dwProperty, m);
  module_.dwViewRights = rights.dwViewRights;
  module_.dwPtzRights = rights.dwPtzRights;
  module_.dwRelayRights = rights.dwRelayRights;
  module_.dwAudioRights = rights.dwAudioRights;

  module_.dwPtzInstFlag = values.dwPtzInstFlag;
  module_.iPtzFuncOptFlag = values.iPtzFuncOptFlag;

  // Older server software (no build date) has PTZ only on the modules below the type-3 count.
  module_.bPtzInstalled.fill(0);
  if (pane_->ServerFields().iBuildDate >= 0 || m < server_.iType3Count) {
    for (int n = 0; n < 6; ++n) module_.bPtzInstalled[static_cast<size_t>(n)] = Bit(module_.dwPtzInstFlag, n) ? 1 : 0;
  }

  // The first viewable camera becomes the selected one. Only cameras 1..6 exist in the viewer
  // and the pane, whatever NUM_OF_CAM says.
  const int32_t cameras = std::min<int32_t>(module_.iNumCam, 6);
  for (int32_t n = 0; n < cameras; ++n) {
    if (Bit(module_.dwViewRights, n)) {
      iSelCam_ = n + 1;
      iCamsOn_ = 1;
      break;
    }
  }

  for (int camera = 1; camera <= 6; ++camera) {
    const auto& title = values.titles[static_cast<size_t>(camera - 1)];
    if (title) viewer_.SetStrCamName(camera, *title);
  }

  pane_->SetButtonState(kButtonCam, kButtonLatched);
  pane_->SetButtonState(kButtonPtz, kButtonNormal);
  for (int camera = 1; camera <= 6; ++camera) {
    pane_->SetButtonState(kButtonCam1 + camera - 1, kButtonNormal);
  }
  if (iSelCam_ >= 0 && iSelCam_ <= 6) pane_->SetButtonState(kButtonPtz + iSelCam_, kButtonLatched);
  pane_->SetButtonState(kButtonAll, kButtonNormal);
  pane_->SetButtonState(kButtonNone, kButtonNormal);

  IComboList& speeds = pane_->SpeedList();
  speeds.ResetContent();
  const char* const* texts = module_.iVideoFormat != 0 ? kSpeedTexts576 : kSpeedTexts480;
  for (int i = 0; i < 6; ++i) speeds.AddString(texts[i]);
  for (int i = 0; i < 6; ++i) speeds.SetItemData(i, kFrameIntervals[i]);
  speeds.SetCurSel(0);

  CSFI_UART& uart = pane_->Uart();
  uart.SetStrServerAddr(props_.strIpAddr);
  uart.SetIServerPort(props_.iHttpPort);
  uart.SetStrUartParam15("");
  uart.SetIUartParam14(0);
  uart.SetStrUserName(props_.strUserID);
  uart.SetStrPassword(props_.strUserPWD);
  uart.SetIServerId(m);
  uart.SetIInitMode(2);
  uart.ApplySettings();

  viewer_.SetStrServerAddr("");
  MoveViewerTo(geometry::kViewerNarrowWidth);
  for (int option = 1; option <= 4; ++option) viewer_.SetBViewOption(option, true);
  viewer_.SetBViewOption5(false);
  viewer_.SetBViewOption6(true);
  viewer_.SetIViewOption7(12);
  viewer_.SetBViewOption8(true);
  for (int camera = 1; camera <= 6; ++camera) viewer_.SetBShowCam(camera, false);
  for (int camera = 1; camera <= 6; ++camera) viewer_.SetBConnectCam(camera, true);
  viewer_.SetBSequence(false);
  if (iSelCam_ >= 1 && iSelCam_ <= 6 && Bit(module_.dwViewRights, iSelCam_ - 1)) {
    viewer_.SetBShowCam(iSelCam_, true);
  }
  viewer_.SelectCamera(iSelCam_);
  viewer_.SetIServerId(m);
  viewer_.SetStrUserName(props_.strUserID);
  viewer_.SetStrPassword(props_.strUserPWD);
  viewer_.SetIServerPort(props_.iHttpPort);
  viewer_.SetStrProxyAddr(props_.strIpAddrProxy);
  viewer_.SetIProxyPort(props_.iHttpPortProxy);
  viewer_.SetStrServerAddr(props_.strIpAddr);

  PaneCameraFlags& flags = pane_->CameraFlags();
  flags.sequenceRunning = 0;
  flags.paused = 0;
  flags.allPressed = 0;

  uint32_t ctls = server_.iModuleCount > 1 ? kCtlsModuleList : 0;
  const int32_t counted = std::min<int32_t>(module_.iNumCam, kMaskBits);
  module_.iViewableCams = 0;
  for (int32_t n = 0; n < counted; ++n) {
    if (Bit(module_.dwViewRights, n)) ++module_.iViewableCams;
  }
  if (module_.iViewableCams > 1) {
    // The pane has six camera buttons; a higher camera would switch on unrelated controls.
    for (int32_t n = 0; n < cameras; ++n) {
      if (Bit(module_.dwViewRights, n)) ctls |= kCtlsCam1 << n;
    }
    ctls |= kCtlsCameraGroup;
  }
  ctls |= kCtlsAlways;
  props_.iOperPaneCtls = static_cast<int32_t>(ctls);

  uart.SetIPanelMode(module_.iPtzFuncOptFlag == 0 ? 1 : 2);
  uart.SetIFuncOptions(static_cast<int32_t>(static_cast<uint32_t>(module_.iPtzFuncOptFlag) | 0x80000000u));

  std::string tag = viewer_.GetServerTag();
  std::replace(tag.begin(), tag.end(), ':', '-');
  module_.strServerTag = tag;
}

}  // namespace pel
