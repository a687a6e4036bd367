#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "control/OperPaneLink.h"
#include "hosted/SFI_UART.h"
#include "pane/PaneControls.h"
#include "pane/skin/SkinButton.h"
#include "pane/skin/SkinComboBox.h"
#include "ports/PaneDialogs.h"
#include "ports/PaneView.h"
#include "ports/RequestGate.h"
#include "ports/SnapshotSystem.h"
#include "ports/UserMessages.h"
#include "relay/RelayOutputDlg.h"

namespace pel {

class CPelioranCtrl;
class IDispatchPort;

// What the pane works with for its whole life.
struct PanePorts {
  IPaneView& view;
  IPaneDialogs& dialogs;
  IUserMessages& messages;
  ISnapshotSystem& system;
};

// The operation pane: the column of skinned buttons and the two lists at the control's left,
// in camera mode laid out from the control's iOperPaneCtls, in PTZ mode showing the hosted
// serial/PTZ panel. Its buttons drive the viewer through the control (camera selection,
// sequence, pause, display size, snapshots) and open the voice, audio and relay dialogs.
class CPelioranOperPane : public IOperPaneLink {
 public:
  static constexpr int kBmpBufferSize = 704 * 576 * 3;
  static constexpr int kJpegBufferSize = 120000;

  // `parent` is the control that made the pane; null for a pane without one.
  CPelioranOperPane(PanePorts ports, CPelioranCtrl* parent);
  CPelioranOperPane(const CPelioranOperPane&) = delete;
  CPelioranOperPane& operator=(const CPelioranOperPane&) = delete;

  // --- Window life -------------------------------------------------------------------------
  // WM_CREATE: builds the buttons, the grid, the panel and the lists, then loads the
  // background. False (the pane is not created) when the panel, a list or the background
  // cannot be made.
  bool OnCreate();
  // WM_DESTROY: the voice component goes, the button images with their windows.
  void OnDestroy();
  PanePainting Painting() const { return PanePainting{}; }
  // The panel's SizeChanged event.
  void OnPanelSizeChanged(int cx, int cy);
  // The voice component's status event (event 1); its events 2 and 3 mean nothing here.
  void OnVoiceStatus(int32_t code, int32_t detail) { ports_.dialogs.VoiceStatus(code, detail); }

  // --- IOperPaneLink -----------------------------------------------------------------------
  IComboList& ModuleList() override { return moduleList_; }
  IComboList& SpeedList() override { return speedList_; }
  void SetButtonState(int index, int state) override;
  PaneServerFields& ServerFields() override { return serverFields_; }
  PaneCameraFlags& CameraFlags() override { return flags_; }
  CSFI_UART& Uart() override { return uart_; }
  void SetPaneMode(int mode) override;

  // --- Notifications ---------------------------------------------------------------------------
  // The buttons' callback: (child ID, code 2 pressed or 3 released, the pane).
  static void ButtonCallback(int childId, int code, void* pane);
  void OnButtonNotify(int childId, int code);
  void OnListSelection(int kind, int32_t itemData);

  // --- Operations ------------------------------------------------------------------------------
  // The control's selected camera (1..6, 0 none) and iSvrID; -1 without a control.
  int32_t GetSelectedCamera() const;
  int32_t GetServerId() const;
  // The control's site lock, which every request the pane's dialogs make passes; null without
  // a control.
  IRequestGate* RequestGate() const;
  void StopSequenceAndPause();
  // The Snap button's release: true when the picture was saved (or the Save As dialog ran).
  bool SaveSnapshot();

  // --- State -----------------------------------------------------------------------------------
  int mode() const { return mode_; }
  CSkinButton& Button(int index) { return buttons_[static_cast<size_t>(index)]; }
  CSkinComboBox& ModuleCombo() { return moduleList_; }
  CSkinComboBox& SpeedCombo() { return speedList_; }
  const std::array<ChildRect, pane::kGridCells>& Grid() const { return grid_; }
  IDispatchPort* VoiceControl() const { return voiceControl_; }
  CRelayOutputDlg& RelayDialog() { return relayDialog_; }

 private:
  // How a press or release handling ended.
  enum class Handled { kDone, kRefused, kStopped };

  Handled OnPress(int id);
  Handled OnRelease(int id);
  Handled PressCamera(int camera);
  Handled ReleaseCamera(int camera);
  Handled ReleaseAll();
  Handled ReleaseNone();
  Handled PressSequence();
  Handled ReleaseSequence();
  Handled PressPause();
  Handled ReleasePause();
  // 1x and 2x: refused without any view right and while a sequence runs.
  bool DisplaySizeRefused(int sequenceMessage);
  Handled ReleaseDouble();
  Handled ReleaseOriginal();
  void SelectMode(int latched, int normal, int mode);
  Handled ReleaseVoice();
  Handled ReleaseRelay();
  void ClearFlagsAfter(int id);

  bool BuildButtons();
  int CameraCount() const;
  bool Viewable(int camera) const;
  bool Latched(int camera) { return Button(kButtonCam1 + camera - 1).IsLatched(); }
  // Latches button `index` (on) or returns it to normal. A latch the pane makes counts as an
  // accepted press.
  void SetLatch(int index, bool on);
  void ShowCameraFlag(int camera, bool show);
  void Message(int stringId);
  void RecomputeLayout();

  PanePorts ports_;
  CPelioranCtrl* ctrl_;
  CSFI_UART uart_;
  int mode_ = 0;
  CSkinComboBox speedList_;
  CSkinComboBox moduleList_;
  std::array<CSkinButton, pane::kButtonCount> buttons_;
  std::array<ChildRect, pane::kGridCells> grid_{};
  PaneCameraFlags flags_;
  PaneServerFields serverFields_;
  IDispatchPort* voiceControl_ = nullptr;
  CRelayOutputDlg relayDialog_;
  std::vector<uint8_t> bmpBuffer_;
};

}  // namespace pel
