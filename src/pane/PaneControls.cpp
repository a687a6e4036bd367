#include "pane/PaneControls.h"

namespace pel::pane {

const std::array<PaneButtonDef, kButtonCount>& Buttons() {
  static const std::array<PaneButtonDef, kButtonCount> table = {{
      {3000, {10, 0, 82, 24}, 0, 48, 72, 24, true, 1999, true},       // CAM
      {3001, {82, 0, 154, 24}, 72, 48, 72, 24, true, 2000, true},     // PTZ
      {3002, {46, 95, 118, 119}, 0, 0, 72, 24, true, 2001, true},     // Cam1
      {3003, {86, 95, 158, 119}, 72, 0, 72, 24, true, 2002, true},    // Cam2
      {3004, {46, 125, 118, 149}, 144, 0, 72, 24, true, 2003, true},  // Cam3
      {3005, {86, 125, 158, 149}, 216, 0, 72, 24, true, 2004, true},  // Cam4
      {3006, {46, 155, 118, 179}, 288, 0, 72, 24, true, 2005, true},  // Cam5
      {3007, {86, 155, 158, 179}, 360, 0, 72, 24, true, 2006, true},  // Cam6
      {3008, {46, 185, 118, 209}, 144, 48, 72, 24, false, 2007, true},   // All
      {3009, {86, 185, 158, 209}, 216, 48, 72, 24, false, 2008, true},   // None
      {3010, {18, 245, 162, 269}, 288, 48, 144, 24, true, 2009, true},   // Sequence
      {3011, {17, 275, 89, 299}, 0, 24, 72, 24, true, 2010, true},       // Pause / Play
      {3012, {83, 275, 155, 299}, 72, 24, 72, 24, false, 2011, true},    // Snap
      {3013, {17, 305, 89, 329}, 144, 24, 72, 24, false, 2012, true},    // 1x
      {3014, {83, 305, 155, 329}, 216, 24, 72, 24, false, 2013, true},   // 2x
      {3015, {17, 335, 89, 359}, 288, 24, 72, 24, false, 2014, true},    // Voice
      {3016, {83, 335, 155, 359}, 360, 24, 72, 24, false, 2015, true},   // Relay output (DO)
      {3017, {10, 60, 82, 84}, 0, 72, 144, 24, false, 2014, false},      // Module Selection
      {3019, {10, 210, 82, 234}, 144, 72, 72, 24, false, 2015, false},   // Speed
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
