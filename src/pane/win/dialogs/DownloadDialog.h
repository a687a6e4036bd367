#pragma once

#include <windows.h>

namespace pel {
class CVoiceKitDownloadDlg;
}

namespace pel::win {

// Runs the modal Download dialog (template 270) over `parent` until OK, Escape or the close
// command ends it.
void RunDownloadDialog(CVoiceKitDownloadDlg& dialog, HWND parent);

}  // namespace pel::win
