#include "pane/win/WinSkinImageSource.h"

#include "pane/win/WinSkinImage.h"

namespace pel::win {

GdiBitmap LoadBitmapResource(HINSTANCE module, int resource, int width, int height) {
  return GdiBitmap(static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(resource),
                                                   IMAGE_BITMAP, width, height,
                                                   LR_CREATEDIBSECTION)));
}

GdiBitmap CreateBitmap24(int width, int height) {
  if (width <= 0 || height <= 0) return GdiBitmap();
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return GdiBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

std::optional<BitmapSize> WinSkinImageSource::Size(int resource) {
  const std::shared_ptr<const SkinSet> skins = skins_();
  return skins ? skins->BaseSize(resource) : std::nullopt;
}

std::unique_ptr<ISkinImage> WinSkinImageSource::Cut(int resource, const PixelRect& rect) {
  std::shared_ptr<const SkinSet> skins = skins_();
  if (!skins || skins->Bitmap(resource) == nullptr) return nullptr;
  return std::make_unique<WinSkinImage>(std::move(skins), resource, rect);
}

}  // namespace pel::win
