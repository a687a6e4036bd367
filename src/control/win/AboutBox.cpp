#include "control/win/AboutBox.h"

#include "com/Module.h"
#include "res/PelioranRes.h"

namespace pel::win {

namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND parent) {
  DialogBoxParamW(com::ModuleInstance(), MAKEINTRESOURCEW(IDD_ABOUTBOX_PELIORAN), parent,
                  AboutProc, 0);
}

}  // namespace pel::win
