#pragma once

#include <cstdint>

#include "Common/DisplayScale.h"
#include "ports/ControlChildren.h"

namespace pel {

// Fixed places and sizes of the control's children, in the control's client coordinates.
namespace geometry {

constexpr int kViewerOriginLeft = 207;
constexpr int kViewerOriginTop = 10;
constexpr int kViewerNarrowWidth = 716;    // up to four cameras shown
constexpr int kViewerWideWidth = 1074;     // five or six
constexpr int kViewerHeight480 = 544;      // iVideoFormat 0
constexpr int kViewerHeight576 = 640;      // iVideoFormat non-zero
constexpr int kTileWidth = 352;
constexpr int kTileHeight480 = 240;
constexpr int kTileHeight576 = 288;
constexpr int kDefaultPictureWidth = 352;

constexpr int kPaneId = 0xE900;
constexpr ChildRect kPaneRect{10, 10, 180, 700};
constexpr int kPaneWidth = 180;
constexpr int kPaneHeight = 700;

constexpr int kViewerId = 206;
constexpr ChildRect kViewerCreateRect{207, 10, 0, 0};

// The viewer's width for a number of shown cameras.
constexpr int ViewerWidth(int camsShown) {
  return camsShown >= 5 && camsShown <= 6 ? kViewerWideWidth : kViewerNarrowWidth;
}
// The viewer's height for the video format.
constexpr int ViewerHeight(int32_t videoFormat) {
  return videoFormat != 0 ? kViewerHeight576 : kViewerHeight480;
}
constexpr int TileHeight(int32_t videoFormat) {
  return videoFormat != 0 ? kTileHeight576 : kTileHeight480;
}

}  // namespace geometry

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// What the control paints: its bounds filled with a colour (0x00BBGGRR), then a rectangle
// with the current pen and brush: the two-pixel divider between the pane and the viewer.
struct ControlDrawing {
  Rect fill;
  uint32_t fillColor = 0x00FFFFFF;
  Rect divider;
};

// The drawing for the control's bounds and its window position (x, y) in the parent; the
// divider's place and size at the display's scale.
ControlDrawing DrawingFor(const Rect& bounds, int x, int y, DisplayScale scale = {});

// A child rectangle of the 96-DPI layout at the display's scale.
ChildRect ScaledRect(const ChildRect& rect, DisplayScale scale);

// Where the control's window goes when the container gives new position and clip rectangles.
struct InPlacePlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The full position rectangle, whatever the clip rectangle says.
InPlacePlacement PlaceInPlace(const Rect& position);

}  // namespace pel
