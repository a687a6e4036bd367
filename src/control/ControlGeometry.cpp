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

InPlacePlacement PlaceInPlace(const Rect& position) {
  return InPlacePlacement{position.left, position.top, position.right - position.left,
                          position.bottom - position.top};
}

}  // namespace pel
