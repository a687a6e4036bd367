#pragma once

#include <windows.h>

#include "pane/PaneControls.h"

namespace pel::win {

class SkinSet;

// The pane's own drawing into `dc`, its figures at the skins' scale: the background bitmap
// (when there is a set) at (0, 0) with its stored size, the frame behind the serial/PTZ panel
// with the DC's default pen and brush, and the version text on a transparent background in
// the DC's default font (the system's, which a DPI-aware process gets at the display's scale).
// In high contrast mode the background is the window colour and the frame and text are in the
// window text colour.
void PaintPane(HDC dc, const SkinSet* skins, const PanePainting& painting, bool highContrast);

}  // namespace pel::win
