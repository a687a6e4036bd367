#pragma once

#include <windows.h>

#include "pane/win/GdiHandles.h"
#include "ports/SkinWindows.h"

namespace pel::win {

// The skin bitmaps among the resources of `module`, loaded as device-independent sections
// for each request and let go at once.
class WinSkinImageSource final : public ISkinImageSource {
 public:
  explicit WinSkinImageSource(HINSTANCE module) : module_(module) {}

  std::optional<BitmapSize> Size(int resource) override;
  // A new 24-bit bitmap holding `rect` of the resource.
  std::unique_ptr<ISkinImage> Cut(int resource, const PixelRect& rect) override;

 private:
  GdiBitmap Load(int resource) const;

  HINSTANCE module_;
};

// Bitmap resource `resource` of `module` as a device-independent section of its own size
// (0, 0) or of width x height; empty when it cannot be loaded.
GdiBitmap LoadBitmapResource(HINSTANCE module, int resource, int width = 0, int height = 0);

// A new 24-bit device-independent section of width x height; empty on failure.
GdiBitmap CreateBitmap24(int width, int height);

}  // namespace pel::win
