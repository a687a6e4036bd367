#include "pane/PaneLayout.h"

#include "control/OperPaneLink.h"
#include "pane/PaneControls.h"

namespace pel {

namespace {

// What bit n of the mask places, and how: cells taken, and the height when it is a list.
struct MaskSlot {
  int control;
  int cells;
  int height;
  bool startsRow;
};

constexpr int kRow = pane::kCellHeight;
constexpr int kList = pane::kDropDownHeight;

constexpr MaskSlot kSlots[] = {
    {kButtonModuleLabel, 2, kRow, false},
    {kPaneCtlModuleList, 2, kList, false},
    {kButtonCam1 + 0, 1, kRow, false},
    {kButtonCam1 + 1, 1, kRow, false},
    {kButtonCam1 + 2, 1, kRow, false},
    {kButtonCam1 + 3, 1, kRow, false},
    {kButtonCam1 + 4, 1, kRow, false},
    {kButtonCam1 + 5, 1, kRow, false},
    {kButtonAll, 1, kRow, true},
    {kButtonNone, 1, kRow, false},
    {kButtonSpeedLabel, 1, kRow, false},
    {kPaneCtlSpeedList, 1, kList, false},
    {kButtonSequence, 2, kRow, false},
    {kButtonPause, 1, kRow, false},
    {kButtonSnap, 1, kRow, false},
    {kButton1x, 1, kRow, false},
    {kButton2x, 1, kRow, false},
    {kButtonVoice, 1, kRow, false},
    {kButtonRelay, 1, kRow, false},
};

}  // namespace

const std::vector<int>& CameraModeControls() {
  static const std::vector<int> controls = {
      kButtonModuleLabel, kPaneCtlModuleList, kButtonCam1,     kButtonCam1 + 1,
      kButtonCam1 + 2,    kButtonCam1 + 3,    kButtonCam1 + 4, kButtonCam1 + 5,
      kButtonAll,         kButtonNone,        kButtonSpeedLabel, kPaneCtlSpeedList,
      kButtonSequence,    kButtonPause,       kButtonSnap,     kButton1x,
      kButton2x,          kButtonVoice,       kButtonRelay};
  return controls;
}

std::vector<PanePlacement> CameraModePlacements(uint32_t mask) {
  std::vector<PanePlacement> placements;
  int cell = 0;
  for (int bit = 0; bit < static_cast<int>(sizeof kSlots / sizeof kSlots[0]); ++bit) {
    if (((mask >> bit) & 1u) == 0) continue;
    const MaskSlot& slot = kSlots[bit];
    if (slot.startsRow && cell % 2 != 0) ++cell;
    // The grid has room for every control at once; nothing is placed outside it.
    if (cell + slot.cells > pane::kGridCells) break;
    const ChildRect at = pane::GridCell(cell);
    placements.push_back(
        PanePlacement{slot.control, at.left, at.top, pane::kCellWidth * slot.cells, slot.height});
    cell += slot.cells;
  }
  return placements;
}

}  // namespace pel
