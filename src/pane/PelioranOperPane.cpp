#include "pane/PelioranOperPane.h"

#include "control/PelioranCtrl.h"
#include "pane/PaneLayout.h"
#include "res/PaneIds.h"
#include "res/StringTable.h"

namespace pel {

CPelioranOperPane::CPelioranOperPane(PanePorts ports, CPelioranCtrl* parent)
    : ports_(ports), ctrl_(parent), relayDialog_(ports.messages) {
  moduleList_.SetSelectionHandler([this](int kind, int32_t data) { OnListSelection(kind, data); });
  speedList_.SetSelectionHandler([this](int kind, int32_t data) { OnListSelection(kind, data); });
}

bool CPelioranOperPane::BuildButtons() {
  const auto& defs = pane::Buttons();
  for (int i = 0; i < pane::kButtonCount; ++i) {
    const PaneButtonDef& def = defs[static_cast<size_t>(i)];
    CSkinButton& button = Button(i);
    if (!button.Create(def.rect, SkinUnit{}, &CPelioranOperPane::ButtonCallback, def.childId,
                       this)) {
      return false;
    }
    // A button whose window or images could not be made still works, unpainted.
    ports_.view.CreateButton(i, def.childId, button);
    const SkinCell cell = CellInUnits(def.cellX, def.cellY, def.cellWidth, def.cellHeight,
                                      pane::kSkinUnitPixels);
    for (int slot = 0; slot < kSkinSlotCount; ++slot) {
      button.LoadSkinImage(ports_.view.SkinImages(), kSkinResourceBySlot[slot], cell,
                           pane::kSkinUnitPixels, slot);
    }
    button.SetTooltip(def.tooltipId, true);
  }
  for (int i = 0; i < pane::kButtonCount; ++i) {
    const PaneButtonDef& def = defs[static_cast<size_t>(i)];
    if (!def.tooltipActive) Button(i).ActivateTooltip(false);
  }
  for (int i = 0; i < pane::kButtonCount; ++i) {
    if (defs[static_cast<size_t>(i)].toggle) Button(i).SetToggle(true);
  }
  return true;
}

bool CPelioranOperPane::OnCreate() {
  mode_ = 0;
  if (!BuildButtons()) return false;
  for (int k = 0; k < pane::kGridCells; ++k) grid_[static_cast<size_t>(k)] = pane::GridCell(k);

  IDispatchPort* panel = ports_.view.CreatePanel(pane::kPanelId);
  if (panel == nullptr) return false;
  uart_.Attach(panel);
  const int32_t options = ctrl_ != nullptr ? ctrl_->Module().iPtzFuncOptFlag : 0;
  uart_.SetIPanelMode(options != 0 ? 2 : 1);
  uart_.SetIFuncOptions(static_cast<int32_t>(static_cast<uint32_t>(options) | 0x80000000u));
  const ChildRect& at = pane::kPanelRect;
  ports_.view.MoveControl(kPaneCtlPanel, at.left, at.top, at.right - at.left, at.bottom - at.top);
  ports_.view.ResizePane(pane::kBuiltPaneWidth, pane::kBuiltPaneHeight);
  uart_.EnablePanel(true);

  // The model would hold entries that no window shows: a missing list fails the pane.
  if (!ports_.view.CreateComboBox(kPaneCtlModuleList, pane::kModuleListId, pane::kModuleListRect,
                                  moduleList_)) {
    return false;
  }
  moduleList_.SetKind(kComboKindModules);
  ports_.view.EnableControl(kPaneCtlModuleList, true);
  if (!ports_.view.CreateComboBox(kPaneCtlSpeedList, pane::kSpeedListId, pane::kSpeedListRect,
                                  speedList_)) {
    return false;
  }
  speedList_.SetKind(kComboKindSpeed);
  ports_.view.EnableControl(kPaneCtlSpeedList, true);
  speedList_.SetTooltip(pane::kSpeedTooltipId, true);

  return ports_.view.LoadBackground(pane::kBackgroundBitmap, pane::kBackgroundWidth,
                                    pane::kBackgroundHeight);
}

void CPelioranOperPane::OnDestroy() {
  if (voiceControl_ != nullptr) {
    ports_.view.DestroyVoiceControl();
    voiceControl_ = nullptr;
  }
  for (CSkinButton& button : buttons_) button.OnDestroy();
  moduleList_.AttachWindow(nullptr);
  speedList_.AttachWindow(nullptr);
  uart_.Attach(nullptr);
}

void CPelioranOperPane::OnPanelSizeChanged(int cx, int cy) {
  ports_.view.MoveControl(kPaneCtlPanel, pane::kPanelRect.left, pane::kPanelRect.top, cx, cy);
}

void CPelioranOperPane::SetButtonState(int index, int state) {
  if (index < 0 || index >= pane::kButtonCount) return;
  if ((index == kButtonCam || index == kButtonPtz) &&
      (state == kButtonLatched || state == kButtonNormal)) {
    // CAM and PTZ show the pane's mode, whatever the caller asks of one of them: the module
    // set-up latches the button before Cam1 for "no camera selected", which is PTZ, and
    // two latched mode buttons would leave a click on PTZ without effect. Mode 0 (before the
    // first switch) counts as camera mode, to which the start switches after the set-up.
    const bool ptz = mode_ == kPaneModePtz;
    SetLatch(kButtonCam, !ptz);
    SetLatch(kButtonPtz, ptz);
    return;
  }
  if (state == kButtonLatched) {
    SetLatch(index, true);
  } else {
    Button(index).SetState(state);
  }
}

void CPelioranOperPane::SetLatch(int index, bool on) {
  CSkinButton& button = Button(index);
  button.SetState(on ? kButtonLatched : kButtonNormal);
  // A toggle's accept flag is set only by a press it reports, and a press on a latched toggle
  // is not reported: a refusal from an earlier press would otherwise outlive this latch, and
  // the next click during a sequence would turn off a camera the viewer still shows.
  if (on) button.SetAccept(1);
}

void CPelioranOperPane::SetPaneMode(int mode) {
  mode_ = mode;
  const bool camera = mode == kPaneModeCamera;
  for (int control : CameraModeControls()) {
    ports_.view.ShowControl(control, camera);
    ports_.view.MoveControl(control, 0, 0, 0, 0);
  }
  ports_.view.ShowControl(kPaneCtlPanel, mode == kPaneModePtz);
  if (!camera) return;
  const uint32_t mask =
      ctrl_ != nullptr ? static_cast<uint32_t>(ctrl_->Properties().iOperPaneCtls) : 0u;
  for (const PanePlacement& p : CameraModePlacements(mask)) {
    ports_.view.MoveControl(p.control, p.x, p.y, p.width, p.height);
  }
}

void CPelioranOperPane::ButtonCallback(int childId, int code, void* pane) {
  if (pane != nullptr) static_cast<CPelioranOperPane*>(pane)->OnButtonNotify(childId, code);
}

void CPelioranOperPane::OnButtonNotify(int childId, int code) {
  const int index = pane::ButtonIndexOfId(childId);
  if (index < 0 || ctrl_ == nullptr) return;
  if (code == 2) {
    const Handled handled = OnPress(childId);
    if (handled == Handled::kStopped) return;
    Button(index).SetAccept(handled == Handled::kDone ? 1 : 0);
    if (handled == Handled::kDone) ClearFlagsAfter(childId);
  } else if (code == 3) {
    if (OnRelease(childId) == Handled::kDone) ClearFlagsAfter(childId);
  }
}

void CPelioranOperPane::ClearFlagsAfter(int id) {
  if ((id >= IDC_PANE_CAM1 && id <= IDC_PANE_NONE) || id == IDC_PANE_1X) {
    flags_.doublePressed = 0;
  }
  if (id != IDC_PANE_ALL) flags_.allPressed = 0;
}

void CPelioranOperPane::OnListSelection(int kind, int32_t itemData) {
  if (ctrl_ == nullptr) return;
  if (kind == kComboKindModules) {
    ctrl_->SetUpModule(itemData);
    SetPaneMode(kPaneModeCamera);
  } else if (kind == kComboKindSpeed) {
    ctrl_->viewer().SetIFrameInterval(itemData);
  }
}

int32_t CPelioranOperPane::GetSelectedCamera() const {
  return ctrl_ != nullptr ? ctrl_->iSelCam() : -1;
}

int32_t CPelioranOperPane::GetServerId() const {
  return ctrl_ != nullptr ? ctrl_->Properties().iSvrID : -1;
}

IRequestGate* CPelioranOperPane::RequestGate() const {
  return ctrl_ != nullptr ? &ctrl_->RequestGate() : nullptr;
}

void CPelioranOperPane::Message(int stringId) {
  ports_.messages.ShowMessage(LoadResString(stringId));
}

}  // namespace pel
