#include "pane/win/PanePainter.h"

#include <cstring>

#include "pane/win/GdiHandles.h"

namespace pel::win {

void PaintPane(HDC dc, HBITMAP background, const PanePainting& painting) {
  const int saved = SaveDC(dc);
  if (background != nullptr) {
    const MemoryDc source(background);
    if (source.Ready()) {
      BitBlt(dc, 0, 0, painting.backgroundWidth, painting.backgroundHeight, source.Get(), 0, 0,
             SRCCOPY);
    }
  }
  // The stock objects a fresh DC starts with, whatever a WM_PRINTCLIENT caller selected.
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  const ChildRect& f = painting.frame;
  Rectangle(dc, f.left, f.top, f.right, f.bottom);
  if (painting.transparentText) SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, painting.textX, painting.textY, painting.versionText,
           static_cast<int>(std::strlen(painting.versionText)));
  RestoreDC(dc, saved);
}

}  // namespace pel::win
