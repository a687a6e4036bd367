#include "pane/win/HighContrastButton.h"

#include <iterator>

#include "control/OperPaneLink.h"  // the buttons' numbers, which the pane takes from the control
#include "pane/skin/SkinButton.h"

namespace pel::win {

namespace {

constexpr ButtonCaption kCaptions[] = {
    {L"CAM"},  {L"PTZ"},  {L"1"},    {L"2"},          {L"3"},
    {L"4"},    {L"5"},    {L"6"},    {L"All"},        {L"None"},
    {L"Sequence On", L"Sequence Off"}, {L"Pause", L"Play"}, {L"Snap"}, {L"1x"}, {L"2x"},
    {L"Voice"}, {L"DO"}, {L"Module Selection", nullptr, true}, {L"Speed", nullptr, true},
};
static_assert(std::size(kCaptions) == kButtonSpeedLabel + 1, "one caption per pane button");

void Frame(HDC dc, RECT area, int thickness, COLORREF colour) {
  const HBRUSH brush = CreateSolidBrush(colour);
  for (int i = 0; i < thickness && brush != nullptr; ++i) {
    FrameRect(dc, &area, brush);
    InflateRect(&area, -1, -1);
  }
  if (brush != nullptr) DeleteObject(brush);
}

}  // namespace

ButtonCaption PaneButtonCaption(int control) {
  return control >= 0 && control < static_cast<int>(std::size(kCaptions))
             ? kCaptions[control]
             : ButtonCaption{};
}

void DrawHighContrastButton(const DRAWITEMSTRUCT& item, const CSkinButton& button,
                            const ButtonCaption& caption, HFONT font) {
  const HDC dc = item.hDC;
  RECT area = item.rcItem;
  const SkinSlot slot = button.ImageSlot();
  const bool down = slot == kSlotPressed;
  int faceColour = caption.label ? COLOR_WINDOW : down ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
  int textColour = caption.label ? COLOR_WINDOWTEXT : down ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
  if (slot == kSlotDisabled) textColour = COLOR_GRAYTEXT;
  FillRect(dc, &area, GetSysColorBrush(faceColour));
  if (!caption.label) {
    const int thickness = slot == kSlotHover ? 2 : 1;
    Frame(dc, area, thickness, GetSysColor(COLOR_BTNTEXT));
  }
  const wchar_t* text =
      button.IsLatched() && caption.latched != nullptr ? caption.latched : caption.normal;
  const int savedDc = SaveDC(dc);
  if (font != nullptr) SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(textColour));
  DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  RestoreDC(dc, savedDc);
}

}  // namespace pel::win
