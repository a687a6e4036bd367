#include "pane/skin/SkinCell.h"

#include <cstdint>

namespace pel {

std::optional<PixelRect> SkinCellPixels(const SkinCell& cell, int unit, const BitmapSize& size) {
  if (cell.left < 0 || cell.top < 0 || cell.right < 1 || cell.bottom < 1) return std::nullopt;
  if (cell.right <= cell.left || cell.bottom <= cell.top || unit < 1) return std::nullopt;
  const int64_t right = int64_t{cell.right} * unit;
  const int64_t bottom = int64_t{cell.bottom} * unit;
  if (right > size.width || bottom > size.height) return std::nullopt;
  return PixelRect{cell.left * unit, cell.top * unit, static_cast<int>(right),
                   static_cast<int>(bottom)};
}

SkinCell CellInUnits(int x, int y, int width, int height, int unit) {
  return SkinCell{x / unit, y / unit, (x + width) / unit, (y + height) / unit};
}

}  // namespace pel
