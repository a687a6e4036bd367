#include "control/ControlGeometry.h"

namespace pel {

namespace {
constexpr int kDividerLeft = 190;
constexpr int kDividerWidth = 2;
constexpr int kDividerHeight = 2000;
}  // namespace

ControlDrawing DrawingFor(const Rect& bounds, int x, int y) {
  ControlDrawing d;
  d.fill = bounds;
  d.fillColor = 0x00FFFFFF;
  d.divider = Rect{x + kDividerLeft, y, x + kDividerLeft + kDividerWidth, y + kDividerHeight};
  return d;
}

InPlacePlacement PlaceInPlace(const Rect* position, bool windowless, bool hasInnerWindow) {
  InPlacePlacement p;
  if (position == nullptr || windowless) return p;
  p.moveOuter = true;
  p.x = position->left;
  p.y = position->top;
  p.width = position->right - position->left;
  p.height = position->bottom - position->top;
  p.moveInner = hasInnerWindow;
  return p;
}

}  // namespace pel
