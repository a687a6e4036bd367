#include "pane/PaneControls.h"

namespace pel::pane {

const std::array<PaneButtonDef, kButtonCount>& Buttons() {
  static const std::array<PaneButtonDef, kButtonCount> table = {{
      {IDC_PANE_CAM, {10, 0, 82, 24}, 0, 48, 72, 24, true, IDS_TIP_CAMERA_CONTROL, true},
      {IDC_PANE_PTZ, {82, 0, 154, 24}, 72, 48, 72, 24, true, IDS_TIP_PTZ_CONTROL, true},
      {IDC_PANE_CAM1, {46, 95, 118, 119}, 0, 0, 72, 24, true, IDS_TIP_CAM1, true},
      {IDC_PANE_CAM1 + 1, {86, 95, 158, 119}, 72, 0, 72, 24, true, IDS_TIP_CAM2, true},
      {IDC_PANE_CAM1 + 2, {46, 125, 118, 149}, 144, 0, 72, 24, true, IDS_TIP_CAM3, true},
      {IDC_PANE_CAM1 + 3, {86, 125, 158, 149}, 216, 0, 72, 24, true, IDS_TIP_CAM4, true},
      {IDC_PANE_CAM1 + 4, {46, 155, 118, 179}, 288, 0, 72, 24, true, IDS_TIP_CAM5, true},
      {IDC_PANE_CAM6, {86, 155, 158, 179}, 360, 0, 72, 24, true, IDS_TIP_CAM6, true},
      {IDC_PANE_ALL, {46, 185, 118, 209}, 144, 48, 72, 24, false, IDS_TIP_ALL, true},
      {IDC_PANE_NONE, {86, 185, 158, 209}, 216, 48, 72, 24, false, IDS_TIP_NONE, true},
      {IDC_PANE_SEQUENCE, {18, 245, 162, 269}, 288, 48, 144, 24, true, IDS_TIP_SEQUENCE, true},
      {IDC_PANE_PAUSE, {17, 275, 89, 299}, 0, 24, 72, 24, true, IDS_TIP_PAUSE, true},
      {IDC_PANE_SNAP, {83, 275, 155, 299}, 72, 24, 72, 24, false, IDS_TIP_SNAP, true},
      {IDC_PANE_1X, {17, 305, 89, 329}, 144, 24, 72, 24, false, IDS_TIP_ORIGINAL, true},
      {IDC_PANE_2X, {83, 305, 155, 329}, 216, 24, 72, 24, false, IDS_TIP_DOUBLE, true},
      {IDC_PANE_VOICE, {17, 335, 89, 359}, 288, 24, 72, 24, false, IDS_TIP_VOICE, true},
      {IDC_PANE_RELAY, {83, 335, 155, 359}, 360, 24, 72, 24, false, IDS_TIP_RELAY, true},
      {IDC_PANE_MODULE_LABEL, {10, 60, 82, 84}, 0, 72, 144, 24, false, IDS_TIP_VOICE, false},
      {IDC_PANE_SPEED_LABEL, {10, 210, 82, 234}, 144, 72, 72, 24, false, IDS_TIP_RELAY, false},
  }};
  return table;
}

ChildRect GridCell(int k) {
  const int left = k % 2 == 0 ? 10 : 82;
  const int top = 40 + kCellHeight * (k / 2);
  return ChildRect{left, top, left + kCellWidth, top + kCellHeight};
}

int ButtonIndexOfId(int id) {
  if (id == kSpeedLabelId) return kButtonCount - 1;
  if (id >= kFirstButtonId && id < kFirstButtonId + kButtonCount - 1) return id - kFirstButtonId;
  return -1;
}

}  // namespace pel::pane
