#pragma once

#include <cstdint>
#include <vector>

namespace pel {

// Where one control goes (pane client coordinates).
struct PanePlacement {
  int control = 0;  // PaneControl: a button index, or the module or speed list
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PanePlacement& o) const {
    return control == o.control && x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// The 19 controls that camera mode shows and PTZ mode hides, in the order they are switched.
const std::vector<int>& CameraModeControls();

// The placements of camera mode for the control mask iOperPaneCtls: the controls whose bits
// are set, in bit order, in consecutive cells of the layout grid from cell 0 (All first moves
// on to an even cell). Bits 19 and above mean nothing.
std::vector<PanePlacement> CameraModePlacements(uint32_t mask);

}  // namespace pel
