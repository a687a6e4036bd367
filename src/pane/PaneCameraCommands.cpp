#include <algorithm>

#include "control/PelioranCtrl.h"
#include "pane/PelioranOperPane.h"
#include "res/PaneIds.h"
#include "res/StringTable.h"

namespace pel {

namespace {

constexpr int kIdCam = IDC_PANE_CAM;
constexpr int kIdPtz = IDC_PANE_PTZ;
constexpr int kIdCam1 = IDC_PANE_CAM1;
constexpr int kIdCam6 = IDC_PANE_CAM6;
constexpr int kIdAll = IDC_PANE_ALL;
constexpr int kIdNone = IDC_PANE_NONE;
constexpr int kIdSequence = IDC_PANE_SEQUENCE;
constexpr int kIdPause = IDC_PANE_PAUSE;
constexpr int kIdSnap = IDC_PANE_SNAP;
constexpr int kId1x = IDC_PANE_1X;
constexpr int kId2x = IDC_PANE_2X;
constexpr int kIdVoice = IDC_PANE_VOICE;
constexpr int kIdRelay = IDC_PANE_RELAY;

// Picture widths that fill the single view without scaling.
bool FullWidth(int32_t width) { return width == 704 || width == 640; }

}  // namespace

int CPelioranOperPane::CameraCount() const {
  // The pane has six camera buttons whatever NUM_OF_CAM says.
  return std::clamp<int32_t>(ctrl_->iNumCam(), 0, 6);
}

bool CPelioranOperPane::Viewable(int camera) const {
  return camera >= 1 && camera <= 6 && ((ctrl_->Module().dwViewRights >> (camera - 1)) & 1u) != 0;
}

void CPelioranOperPane::ShowCameraFlag(int camera, bool show) {
  ctrl_->viewer().SetBShowCam(camera, show);
}

void CPelioranOperPane::RecomputeLayout() { ctrl_->RecomputeViewerLayout(); }

void CPelioranOperPane::StopSequenceAndPause() {
  if (ctrl_ == nullptr) return;
  flags_.sequenceRunning = 0;
  flags_.paused = 0;
  Button(kButtonSequence).SetState(kButtonNormal);
  Button(kButtonPause).SetState(kButtonNormal);
  ctrl_->viewer().SetBSequence(false);
  for (int camera = 1; camera <= CameraCount(); ++camera) {
    if (Viewable(camera) && Latched(camera)) ShowCameraFlag(camera, true);
  }
}

CPelioranOperPane::Handled CPelioranOperPane::OnPress(int id) {
  if (id >= kIdCam1 && id <= kIdCam6) return PressCamera(id - kIdCam1 + 1);
  switch (id) {
    case kIdCam: SelectMode(kButtonCam, kButtonPtz, kPaneModeCamera); return Handled::kDone;
    case kIdPtz:
      SelectMode(kButtonPtz, kButtonCam, kPaneModePtz);
      ctrl_->AimPtzPanel(ctrl_->iSelCam());
      return Handled::kDone;
    case kIdSequence: return PressSequence();
    case kIdPause: return PressPause();
    case kIdAll: case kIdNone: case kIdSnap: case kId1x: case kId2x: case kIdVoice: case kIdRelay:
      return Handled::kDone;
    default: return Handled::kStopped;  // the two labels
  }
}

CPelioranOperPane::Handled CPelioranOperPane::OnRelease(int id) {
  if (id >= kIdCam1 && id <= kIdCam6) return ReleaseCamera(id - kIdCam1 + 1);
  switch (id) {
    // A release of CAM or PTZ: the user clicked the one already latched; it stays so.
    case kIdCam: SelectMode(kButtonCam, kButtonPtz, 0); return Handled::kDone;
    case kIdPtz: SelectMode(kButtonPtz, kButtonCam, 0); return Handled::kDone;
    case kIdAll: return ReleaseAll();
    case kIdNone: return ReleaseNone();
    case kIdSequence: return ReleaseSequence();
    case kIdPause: return ReleasePause();
    case kIdSnap: return SaveSnapshot() ? Handled::kDone : Handled::kStopped;
    case kId1x: return ReleaseOriginal();
    case kId2x: return ReleaseDouble();
    case kIdVoice: return ReleaseVoice();
    case kIdRelay: return ReleaseRelay();
    default: return Handled::kStopped;
  }
}

void CPelioranOperPane::SelectMode(int latched, int normal, int mode) {
  SetLatch(latched, true);
  SetLatch(normal, false);
  if (mode != 0) SetPaneMode(mode);
}

CPelioranOperPane::Handled CPelioranOperPane::PressCamera(int camera) {
  if (flags_.sequenceRunning) return Handled::kRefused;
  StopSequenceAndPause();
  ShowCameraFlag(camera, true);
  RecomputeLayout();
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleaseCamera(int camera) {
  if (flags_.sequenceRunning) {
    const int index = kButtonCam1 + camera - 1;
    if (Button(index).GetAccept()) SetLatch(index, true);
    Message(IDS_SEQ_BLOCKS_CAM1 + camera - 1);
    return Handled::kStopped;
  }
  StopSequenceAndPause();
  ShowCameraFlag(camera, false);
  RecomputeLayout();
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleaseAll() {
  if (flags_.sequenceRunning) {
    Message(IDS_SEQ_BLOCKS_ALL);
    return Handled::kStopped;
  }
  if (flags_.allPressed) return Handled::kStopped;
  flags_.allPressed = 1;
  for (int camera = 1; camera <= CameraCount(); ++camera) {
    if (Viewable(camera)) SetLatch(kButtonCam1 + camera - 1, true);
  }
  StopSequenceAndPause();
  RecomputeLayout();
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleaseNone() {
  if (flags_.sequenceRunning) {
    Message(IDS_SEQ_BLOCKS_NONE);
    return Handled::kStopped;
  }
  for (int camera = 1; camera <= CameraCount(); ++camera) {
    Button(kButtonCam1 + camera - 1).SetState(kButtonNormal);
  }
  for (int camera = 1; camera <= 6; ++camera) ShowCameraFlag(camera, false);
  StopSequenceAndPause();
  RecomputeLayout();
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::PressSequence() {
  if (flags_.paused) return Handled::kRefused;
  flags_.sequenceRunning = 1;
  ctrl_->viewer().SetBSequence(true);
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleaseSequence() {
  if (!Button(kButtonSequence).GetAccept()) {
    Message(IDS_PAUSE_BLOCKS_SEQUENCE);
    return Handled::kStopped;
  }
  flags_.sequenceRunning = 0;
  ctrl_->viewer().SetBSequence(false);
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::PressPause() {
  if (flags_.sequenceRunning) return Handled::kRefused;
  flags_.paused = 1;
  for (int camera = 1; camera <= 6; ++camera) ShowCameraFlag(camera, false);
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleasePause() {
  if (!Button(kButtonPause).GetAccept()) {
    Message(IDS_SEQ_BLOCKS_PAUSE);
    return Handled::kStopped;
  }
  flags_.paused = 0;
  for (int camera = 1; camera <= CameraCount(); ++camera) {
    if (Latched(camera)) ShowCameraFlag(camera, true);
  }
  return Handled::kDone;
}

bool CPelioranOperPane::DisplaySizeRefused(int sequenceMessage) {
  if (ctrl_->Module().dwViewRights == 0) {
    Message(IDS_NO_PERMISSION);
    return true;
  }
  if (flags_.sequenceRunning) {
    Message(sequenceMessage);
    return true;
  }
  return false;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleaseDouble() {
  if (DisplaySizeRefused(IDS_SEQ_BLOCKS_2X) || flags_.doublePressed) return Handled::kStopped;
  flags_.doublePressed = 1;
  const int32_t selected = ctrl_->iSelCam();
  if (selected >= 1 && selected <= 6) {
    uint32_t saved = 0;
    for (int camera = 1; camera <= CameraCount(); ++camera) {
      if (Latched(camera)) saved |= 1u << (camera - 1);
    }
    ctrl_->SetDoubleView(saved, selected);
    for (int camera = 1; camera <= CameraCount(); ++camera) {
      const bool on = camera == selected;
      SetLatch(kButtonCam1 + camera - 1, on);
      ShowCameraFlag(camera, on);
    }
    for (int camera = 1; camera <= 6; ++camera) {
      if (!FullWidth(ctrl_->pictureWidth(camera))) ctrl_->viewer().SetDScaleCam(camera, 2.0);
    }
  }
  StopSequenceAndPause();
  RecomputeLayout();
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleaseOriginal() {
  const uint32_t saved = ctrl_->doubleViewMask();
  if (DisplaySizeRefused(IDS_SEQ_BLOCKS_1X) || saved == 0) return Handled::kStopped;
  const int32_t selected = ctrl_->iSelCam();
  if (selected >= 1 && selected <= 6) {
    for (int camera = 1; camera <= CameraCount(); ++camera) {
      const bool on = ((saved >> (camera - 1)) & 1u) != 0;
      SetLatch(kButtonCam1 + camera - 1, on);
      ShowCameraFlag(camera, on);
    }
    for (int camera = 1; camera <= 6; ++camera) ctrl_->viewer().SetDScaleCam(camera, 1.0);
  }
  StopSequenceAndPause();
  RecomputeLayout();
  ctrl_->SetDoubleView(0, -1);
  return Handled::kDone;
}

}  // namespace pel
