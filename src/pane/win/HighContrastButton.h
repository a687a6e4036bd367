#pragma once

#include <windows.h>

namespace pel {
class CSkinButton;
}

namespace pel::win {

// What a button shows instead of its skin in high contrast mode: its name, as the skin's
// caption reads (the latched look's own where the skin has one: Play, Sequence Off).
struct ButtonCaption {
  const wchar_t* normal = L"";
  const wchar_t* latched = nullptr;  // null: the same as normal
  bool label = false;                // a label, not a button: no frame, the window's colours
};

// The caption of pane button `control` (0..18); an empty one for another number.
ButtonCaption PaneButtonCaption(int control);

// Draws `button` into `item` with the system's colours: the face in the button colour, or the
// highlight colour while pressed or latched, a frame in the text colour (twice as thick under
// the mouse), and the caption in `font`, greyed while disabled.
void DrawHighContrastButton(const DRAWITEMSTRUCT& item, const CSkinButton& button,
                            const ButtonCaption& caption, HFONT font);

}  // namespace pel::win
