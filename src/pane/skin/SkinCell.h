#pragma once

#include <optional>

#include "ports/SkinWindows.h"

namespace pel {

// A cell of a skin image: left, top, right and bottom, counted in units of `unit` pixels.
struct SkinCell {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The pixels a cell covers in a bitmap of `size`; nothing when the cell has a negative left or
// top, a right or bottom below 1, no width or height, a unit below 1, or reaches beyond the
// bitmap (no arithmetic overflows, whatever the numbers).
std::optional<PixelRect> SkinCellPixels(const SkinCell& cell, int unit, const BitmapSize& size);

// The cell, in units of `unit`, of a pixel rectangle given as x, y, width and height.
SkinCell CellInUnits(int x, int y, int width, int height, int unit);

}  // namespace pel
