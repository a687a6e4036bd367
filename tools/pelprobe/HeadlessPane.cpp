#include "pelprobe/HeadlessPane.h"

namespace pel::probe {

namespace {

// The camera-mode controls by their bit in iOperPaneCtls; higher bits are ignored.
constexpr const char* kControlNames[] = {
    "Module Selection label", "module list", "Cam1", "Cam2", "Cam3", "Cam4", "Cam5",
    "Cam6", "All", "None", "Speed label", "speed list", "Sequence", "Pause", "Snap", "1x",
    "2x", "Voice", "Relay output"};
constexpr int kControlBits = static_cast<int>(sizeof kControlNames / sizeof kControlNames[0]);

}  // namespace

void HeadlessPane::OnCreate() {
  const int32_t options = ctrl_.Module().iPtzFuncOptFlag;
  uart_.SetIPanelMode(options != 0 ? 2 : 1);
  uart_.SetIFuncOptions(static_cast<int32_t>(static_cast<uint32_t>(options) | 0x80000000u));
  uart_.EnablePanel(true);
}

void HeadlessPane::OnModuleListSelChange() {
  ctrl_.SetUpModule(modules_.GetItemData(modules_.GetCurSel()));
  SetPaneMode(kPaneModeCamera);
}

void HeadlessPane::SetButtonState(int index, int state) {
  if (index < 0 || index >= kPaneButtonCount) return;
  buttons_[static_cast<size_t>(index)] = state;
}

int HeadlessPane::buttonState(int index) const {
  return index >= 0 && index < kPaneButtonCount ? buttons_[static_cast<size_t>(index)] : 0;
}

void HeadlessPane::SetPaneMode(int mode) {
  mode_ = mode;
  placed_ = mode == kPaneModeCamera ? static_cast<uint32_t>(ctrl_.Properties().iOperPaneCtls) : 0;
}

std::vector<std::string> HeadlessPane::PlacedControls() const {
  std::vector<std::string> names;
  for (int bit = 0; bit < kControlBits; ++bit) {
    if ((placed_ >> bit) & 1u) names.push_back(kControlNames[bit]);
  }
  return names;
}

}  // namespace pel::probe
