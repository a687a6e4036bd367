#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "pane/win/GdiHandles.h"
#include "pane/win/SkinSet.h"
#include "ports/SkinWindows.h"

namespace pel::win {

// The skin bitmaps of the process's shared set for the pane's scale (asked for when first
// needed, when the pane's window exists): sizes are those of the 96-DPI bitmaps, and a cut is
// a cell of the shared bitmap, not a copy.
class WinSkinImageSource final : public ISkinImageSource {
 public:
  explicit WinSkinImageSource(std::function<std::shared_ptr<const SkinSet>()> skins)
      : skins_(std::move(skins)) {}

  std::optional<BitmapSize> Size(int resource) override;
  std::unique_ptr<ISkinImage> Cut(int resource, const PixelRect& rect) override;

 private:
  std::function<std::shared_ptr<const SkinSet>()> skins_;
};

// Bitmap resource `resource` of `module` as a device-independent section of its own size
// (0, 0) or of width x height; empty when it cannot be loaded.
GdiBitmap LoadBitmapResource(HINSTANCE module, int resource, int width = 0, int height = 0);

// A new 24-bit device-independent section of width x height; empty on failure.
GdiBitmap CreateBitmap24(int width, int height);

}  // namespace pel::win
