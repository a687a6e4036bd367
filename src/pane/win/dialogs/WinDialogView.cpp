#include "pane/win/dialogs/WinDialogView.h"

#include <commctrl.h>

namespace pel::win {

void WinDialogView::SetSliderRange(int id, int min, int max) {
  // One message per end: TBM_SETRANGE packs both into 16-bit halves.
  window_.SendItem(id, TBM_SETRANGEMIN, FALSE, min);
  window_.SendItem(id, TBM_SETRANGEMAX, TRUE, max);
}

void WinDialogView::SetSliderTicFrequency(int id, int frequency) {
  window_.SendItem(id, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

void WinDialogView::SetSliderPosition(int id, int position) {
  window_.SendItem(id, TBM_SETPOS, TRUE, position);
}

int WinDialogView::GetSliderPosition(int id) {
  return static_cast<int>(window_.SendItem(id, TBM_GETPOS, 0, 0));
}

void WinDialogView::Paint() {
  if (window_.Window() != nullptr) UpdateWindow(window_.Window());
}

}  // namespace pel::win
