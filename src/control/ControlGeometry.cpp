#include "control/ControlGeometry.h"

namespace pel {

namespace {
constexpr int kDividerLeft = 190;
constexpr int kDividerWidth = 2;
constexpr int kDividerHeight = 2000;
}  // namespace

ControlDrawing DrawingFor(const Rect& bounds, int x, int y, DisplayScale scale) {
  ControlDrawing d;
  d.fill = bounds;
  d.fillColor = 0x00FFFFFF;
  const int left = x + scale.Px(kDividerLeft);
  d.divider = Rect{left, y, left + scale.Px(kDividerWidth), y + scale.Px(kDividerHeight)};
  return d;
}

ChildRect ScaledRect(const ChildRect& rect, DisplayScale scale) {
  return ChildRect{scale.Px(rect.left), scale.Px(rect.top), scale.Px(rect.right),
                   scale.Px(rect.bottom)};
}

InPlacePlacement PlaceInPlace(const Rect& position) {
  return InPlacePlacement{position.left, position.top, position.right - position.left,
                          position.bottom - position.top};
}

}  // namespace pel
