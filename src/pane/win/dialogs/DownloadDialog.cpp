#include "pane/win/dialogs/DownloadDialog.h"

#include "audio/dialogs/VoiceKitDownloadDlg.h"
#include "com/Module.h"

namespace pel::win {

namespace {

INT_PTR CALLBACK DownloadProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  auto* dialog = reinterpret_cast<CVoiceKitDownloadDlg*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  const int id = LOWORD(wParam);
  // The close command and Escape both arrive as IDCANCEL.
  if (id == IDCANCEL || dialog->OnCommand(id)) EndDialog(hwnd, id);
  return TRUE;
}

}  // namespace

void RunDownloadDialog(CVoiceKitDownloadDlg& dialog, HWND parent) {
  DialogBoxParamA(com::ModuleInstance(), MAKEINTRESOURCEA(CVoiceKitDownloadDlg::kTemplateId),
                  parent, &DownloadProc, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace pel::win
