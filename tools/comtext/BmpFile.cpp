#include "comtext/BmpFile.h"

#include <cstring>

namespace pel::com {

std::vector<uint8_t> PaintBmpFile(int width, int height, const std::function<void(HDC)>& paint) {
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  std::vector<uint8_t> file;
  if (dib && bits) {
    HGDIOBJ old = SelectObject(dc, dib);
    paint(dc);
    GdiFlush();
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t image = stride * static_cast<uint32_t>(height);
    const uint32_t offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;  // "BM"
    header.bfSize = offset + image;
    header.bfOffBits = offset;
    info.bmiHeader.biSizeImage = image;
    file.resize(offset + image);
    std::memcpy(file.data(), &header, sizeof(header));
    std::memcpy(file.data() + sizeof(header), &info.bmiHeader, sizeof(BITMAPINFOHEADER));
    std::memcpy(file.data() + offset, bits, image);
    SelectObject(dc, old);
  }
  if (dib) DeleteObject(dib);
  if (dc) DeleteDC(dc);
  return file;
}

std::vector<uint8_t> CaptureBmpFile(HDC source, int x, int y, int width, int height) {
  return PaintBmpFile(width, height, [&](HDC dc) {
    BitBlt(dc, 0, 0, width, height, source, x, y, SRCCOPY | CAPTUREBLT);
  });
}

}  // namespace pel::com
