#pragma once

#include <windows.h>

#include "pane/win/GdiHandles.h"
#include "ports/SkinWindows.h"

namespace pel::win {

// A skinned button's image: a bitmap cut out of a skin, deleted with this object.
class WinSkinImage final : public ISkinImage {
 public:
  WinSkinImage(GdiBitmap bitmap, int width, int height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}

  HBITMAP Handle() const { return bitmap_.Get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  // Copies the whole image to `dc` with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;

 private:
  GdiBitmap bitmap_;
  int width_;
  int height_;
};

}  // namespace pel::win
