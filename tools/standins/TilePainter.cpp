#include "TilePainter.h"

#include "comtext/BmpFile.h"

namespace pel::standin {

COLORREF CameraColour(int camera) {
  static const COLORREF kColours[6] = {
      RGB(200, 60, 60), RGB(60, 160, 60), RGB(60, 90, 200),
      RGB(220, 150, 40), RGB(150, 70, 180), RGB(40, 170, 170),
  };
  return camera >= 1 && camera <= 6 ? kColours[camera - 1] : RGB(128, 128, 128);
}

void PaintTile(HDC dc, const RECT& area, int camera, const std::wstring& title, bool selected) {
  HBRUSH fill = CreateSolidBrush(CameraColour(camera));
  FillRect(dc, &area, fill);
  DeleteObject(fill);
  if (selected) {
    HBRUSH frame = CreateSolidBrush(RGB(255, 255, 0));
    RECT edge = area;
    for (int k = 0; k < 3; ++k) {
      FrameRect(dc, &edge, frame);
      InflateRect(&edge, -1, -1);
    }
    DeleteObject(frame);
  }
  const std::wstring text =
      L"Cam " + std::to_wstring(camera) + (title.empty() ? L"" : L"\n" + title);
  RECT inner = area;
  InflateRect(&inner, -8, -8);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
            DT_LEFT | DT_TOP | DT_NOPREFIX);
}

std::vector<uint8_t> RenderTileBmp(int camera, const std::wstring& title, int width, int height) {
  return com::PaintBmpFile(width, height, [&](HDC dc) {
    PaintTile(dc, RECT{0, 0, width, height}, camera, title, false);
  });
}

}  // namespace pel::standin
