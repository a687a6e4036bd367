#include "pelprobe/PanePorts.h"

namespace pel::probe {

namespace {

// The 19 buttons by index, the two lists and the panel.
constexpr const char* kControlNames[kPaneControlCount] = {
    "CAM", "PTZ", "Cam1", "Cam2", "Cam3", "Cam4", "Cam5", "Cam6", "All", "None", "Sequence",
    "Pause", "Snap", "1x", "2x", "Voice", "Relay output", "Module Selection label",
    "Speed label", "module list", "speed list", "serial/PTZ panel"};

bool Names(int control) { return control >= 0 && control < kPaneControlCount; }

}  // namespace

void HeadlessPaneView::MoveControl(int control, int x, int y, int width, int height) {
  if (!Names(control)) return;
  Control& c = controls_[static_cast<size_t>(control)];
  c.x = x;
  c.y = y;
  c.width = width;
  c.height = height;
}

void HeadlessPaneView::ShowControl(int control, bool show) {
  if (Names(control)) controls_[static_cast<size_t>(control)].shown = show;
}

void HeadlessPaneView::EnableControl(int control, bool enable) {
  if (Names(control)) controls_[static_cast<size_t>(control)].enabled = enable;
}

std::optional<HeadlessPaneView::Control> HeadlessPaneView::control(int control) const {
  if (!Names(control)) return std::nullopt;
  return controls_[static_cast<size_t>(control)];
}

std::string HeadlessPaneView::ControlName(int control) {
  return Names(control) ? kControlNames[control] : "";
}

}  // namespace pel::probe
