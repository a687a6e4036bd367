#pragma once

#include <array>
#include <cstdint>

#include "ports/ControlChildren.h"
#include "ports/PaneView.h"
#include "res/PaneIds.h"
#include "res/SkinIds.h"
#include "res/StringTable.h"

namespace pel {

// One of the pane's 19 skinned buttons: child ID, creation rectangle, skin cell (x, y, width,
// height in pixels of the 432 x 96 skins), kind and tooltip string.
struct PaneButtonDef {
  int childId;
  ChildRect rect;
  int cellX;
  int cellY;
  int cellWidth;
  int cellHeight;
  bool toggle;
  int tooltipId;
  bool tooltipActive;  // the two labels carry a text but no active tooltip
};

namespace pane {

constexpr int kButtonCount = 19;
constexpr int kFirstButtonId = IDC_PANE_CAM;
constexpr int kModuleListId = IDC_PANE_MODULE_LIST;
constexpr int kSpeedLabelId = IDC_PANE_SPEED_LABEL;
constexpr int kSpeedListId = 0;
constexpr int kPanelId = IDC_PANE_PANEL;
constexpr int kVoiceControlId = 654321;
constexpr int kSkinUnitPixels = 8;

constexpr ChildRect kModuleListRect{10, 65, 154, 250};
constexpr ChildRect kSpeedListRect{80, 216, 146, 360};
constexpr int kSpeedTooltipId = IDS_SPEED_MJPEG_ONLY;

// The panel's place, and the pane's size once its controls are built.
constexpr ChildRect kPanelRect{0, 24, 164, 418};
constexpr int kBuiltPaneWidth = 174;
constexpr int kBuiltPaneHeight = 478;

constexpr int kBackgroundBitmap = IDB_PANE_BACKGROUND;
constexpr int kBackgroundWidth = 180;
constexpr int kBackgroundHeight = 700;

// The layout grid of camera mode: 22 cells of 72 x 24 in two columns.
constexpr int kGridCells = 22;
constexpr int kCellWidth = 72;
constexpr int kCellHeight = 24;
constexpr int kDropDownHeight = 120;  // a list's cell plus its 96-pixel drop-down

const std::array<PaneButtonDef, kButtonCount>& Buttons();

// Cell k of the grid: left 10 for even k and 82 for odd k, top 40 + 24 * (k / 2).
ChildRect GridCell(int k);

// The button index of child ID `id`, -1 for an ID that is no button.
int ButtonIndexOfId(int id);

}  // namespace pane

// What the pane paints: the background bitmap at (0, 0) with its size, the frame behind the
// serial/PTZ panel with the default pen and brush, then the version text on a transparent
// background.
struct PanePainting {
  int backgroundBitmap = pane::kBackgroundBitmap;
  int backgroundWidth = pane::kBackgroundWidth;
  int backgroundHeight = pane::kBackgroundHeight;
  ChildRect frame = pane::kPanelRect;
  const char* versionText = "Version : 3.0.0.11";
  int textX = 26;
  int textY = 402;
  bool transparentText = true;
};

}  // namespace pel
