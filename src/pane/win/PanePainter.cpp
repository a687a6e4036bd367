#include "pane/win/PanePainter.h"

#include <cstring>

#include "pane/win/SkinSet.h"

namespace pel::win {

void PaintPane(HDC dc, const SkinSet* skins, const PanePainting& painting, bool highContrast) {
  const DisplayScale scale = skins != nullptr ? skins->scale() : DisplayScale();
  const int saved = SaveDC(dc);
  if (highContrast) {
    const RECT all = {0, 0, scale.Px(painting.backgroundWidth),
                      scale.Px(painting.backgroundHeight)};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
  } else if (skins != nullptr) {
    skins->DrawBackground(dc);
  }
  // The stock objects a fresh DC starts with, whatever a WM_PRINTCLIENT caller selected.
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  COLORREF text = RGB(0, 0, 0);
  if (highContrast) {
    text = GetSysColor(COLOR_WINDOWTEXT);
    SelectObject(dc, GetStockObject(DC_PEN));
    SelectObject(dc, GetSysColorBrush(COLOR_WINDOW));
    SetDCPenColor(dc, text);
  }
  const ChildRect& f = painting.frame;
  Rectangle(dc, scale.Px(f.left), scale.Px(f.top), scale.Px(f.right), scale.Px(f.bottom));
  if (painting.transparentText) SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  TextOutA(dc, scale.Px(painting.textX), scale.Px(painting.textY), painting.versionText,
           static_cast<int>(std::strlen(painting.versionText)));
  RestoreDC(dc, saved);
}

}  // namespace pel::win
