#pragma once

#include <array>
#include <string>
#include <vector>

#include "control/OperPaneLink.h"
#include "control/PelioranCtrl.h"
#include "hosted/SFI_UART.h"
#include "pelprobe/ComboModel.h"

namespace pel::probe {

// The operation pane without windows: it holds what the control puts into it (module and
// speed lists, button states, server fields, camera flags, the mode and the controls laid out
// in camera mode) and drives its serial/PTZ panel as the pane does.
class HeadlessPane : public IOperPaneLink {
 public:
  // `panel`: the hosted serial/PTZ panel, null when it is missing.
  HeadlessPane(CPelioranCtrl& ctrl, IDispatchPort* panel) : ctrl_(ctrl), uart_(panel) {}

  // What the pane's creation does with its panel: mode and function options from the
  // control's PTZ options, then the panel is enabled.
  void OnCreate();
  // The module list's selection change: the module set-up for the selected entry's module,
  // then camera mode.
  void OnModuleListSelChange();

  IComboList& ModuleList() override { return modules_; }
  IComboList& SpeedList() override { return speeds_; }
  void SetButtonState(int index, int state) override;
  PaneServerFields& ServerFields() override { return fields_; }
  PaneCameraFlags& CameraFlags() override { return flags_; }
  CSFI_UART& Uart() override { return uart_; }
  void SetPaneMode(int mode) override;

  const ComboModel& modules() const { return modules_; }
  ComboModel& modules() { return modules_; }
  const ComboModel& speeds() const { return speeds_; }
  const PaneServerFields& fields() const { return fields_; }
  const PaneCameraFlags& flags() const { return flags_; }
  // 0 for a button whose state was never set.
  int buttonState(int index) const;
  // 0 before the first switch, 1 camera mode, 2 PTZ mode.
  int mode() const { return mode_; }
  // The camera-mode controls laid out by the last switch to camera mode, in their order;
  // none in PTZ mode.
  std::vector<std::string> PlacedControls() const;

 private:
  CPelioranCtrl& ctrl_;
  ComboModel modules_;
  ComboModel speeds_;
  PaneServerFields fields_;
  PaneCameraFlags flags_;
  CSFI_UART uart_;
  std::array<int, kPaneButtonCount> buttons_{};
  int mode_ = 0;
  uint32_t placed_ = 0;
};

}  // namespace pel::probe
