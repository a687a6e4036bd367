#include "BmpFile.h"

#include <cstring>

namespace strict {

std::vector<uint8_t> FlatBmp(int width, int height, COLORREF colour) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t pixels = stride * static_cast<size_t>(height);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  const size_t offset = sizeof(file) + sizeof(info);
  file.bfType = 0x4D42;  // "BM"
  file.bfSize = static_cast<DWORD>(offset + pixels);
  file.bfOffBits = static_cast<DWORD>(offset);
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels);
  std::vector<uint8_t> out(offset + pixels, 0);
  std::memcpy(out.data(), &file, sizeof(file));
  std::memcpy(out.data() + sizeof(file), &info, sizeof(info));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = out.data() + offset + stride * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = GetBValue(colour);
      row[3 * x + 1] = GetGValue(colour);
      row[3 * x + 2] = GetRValue(colour);
    }
  }
  return out;
}

}  // namespace strict
