// The pictures the registered video viewer hands out for a snapshot, as references for the
// files the control saves: for cameras 1..6, with the viewer's tile height unset (a single
// view) and at 240 (tiles of a 480-line module), GetJpegFrame's bytes are written to
// FOLDER\camN-0.jpg and FOLDER\camN-240.jpg. Reports "picture N HEIGHT BYTES" per file.
#pragma once
#include <string>

#include "Report.h"

// 0 when every picture was written, else 1.
int WriteViewerPictures(const std::wstring& folder, hostkit::Report& report);
