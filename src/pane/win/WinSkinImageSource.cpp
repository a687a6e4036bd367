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

GdiBitmap WinSkinImageSource::Load(int resource) const {
  return LoadBitmapResource(module_, resource);
}

std::optional<BitmapSize> WinSkinImageSource::Size(int resource) {
  const GdiBitmap bitmap = Load(resource);
  BITMAP info = {};
  if (!bitmap || GetObjectW(bitmap.Get(), sizeof info, &info) == 0) return std::nullopt;
  return BitmapSize{info.bmWidth, info.bmHeight};
}

std::unique_ptr<ISkinImage> WinSkinImageSource::Cut(int resource, const PixelRect& rect) {
  const int width = rect.Width();
  const int height = rect.Height();
  const GdiBitmap skin = Load(resource);
  GdiBitmap cut = CreateBitmap24(width, height);
  if (!skin || !cut) return nullptr;
  {
    const MemoryDc from(skin.Get());
    const MemoryDc to(cut.Get());
    if (!from.Ready() || !to.Ready() ||
        !BitBlt(to.Get(), 0, 0, width, height, from.Get(), rect.left, rect.top, SRCCOPY)) {
      return nullptr;
    }
  }
  return std::make_unique<WinSkinImage>(std::move(cut), width, height);
}

}  // namespace pel::win
