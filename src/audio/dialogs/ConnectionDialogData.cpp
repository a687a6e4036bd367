#include "audio/dialogs/ConnectionDialogData.h"

#include "audio/dialogs/DialogControls.h"
#include "ports/DialogView.h"

namespace pel {

namespace {
constexpr int kRadioCount = 2;
}  // namespace

void ConnectionDialogData::Show(IDialogView& view) const {
  view.SetText(dlg::kIdStatus, status);
  view.SetCheck(dlg::kIdPortCheck, portCheck);
  view.SetText(dlg::kIdPort, std::to_string(port));
  for (int i = 0; i < kRadioCount; ++i) view.SetCheck(radioFirstId + i, radio == i);
}

void ConnectionDialogData::Read(IDialogView& view) {
  status = view.GetText(dlg::kIdStatus);
  portCheck = view.GetCheck(dlg::kIdPortCheck);
  port = dlg::ReadPortText(view.GetText(dlg::kIdPort));
  radio = -1;
  for (int i = 0; i < kRadioCount; ++i) {
    if (view.GetCheck(radioFirstId + i)) {
      radio = i;
      break;
    }
  }
}

void ShowStatusNow(IDialogView& view, std::string& status, const char* text) {
  status = text;
  view.SetText(dlg::kIdStatus, status);
  view.Paint();
}

}  // namespace pel
