#include "pane/win/WinSkinImage.h"

namespace pel::win {

void WinSkinImage::Draw(HDC dc, int x, int y) const {
  const MemoryDc source(bitmap_.Get());
  if (source.Ready()) BitBlt(dc, x, y, width_, height_, source.Get(), 0, 0, SRCCOPY);
}

}  // namespace pel::win
