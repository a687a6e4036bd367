#pragma once

#include <windows.h>

#include "pane/PaneControls.h"

namespace pel::win {

// The pane's own drawing into `dc`: the background bitmap (when there is one) at (0, 0) with
// its stored size, the frame behind the serial/PTZ panel with the DC's default pen and brush,
// and the version text on a transparent background in the DC's default font.
void PaintPane(HDC dc, HBITMAP background, const PanePainting& painting);

}  // namespace pel::win
