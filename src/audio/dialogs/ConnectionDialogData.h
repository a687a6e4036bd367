#pragma once

#include <cstdint>
#include <string>

namespace pel {

class IDialogView;

// The values both connection dialogs exchange with their windows (dialog data exchange):
// the status text (213), the port check (203), the port (218) and a group of two radio
// buttons from `radioFirstId` (the receive mode or the listen mode).
struct ConnectionDialogData {
  explicit ConnectionDialogData(int radioFirstId) : radioFirstId(radioFirstId) {}

  // Into the controls (UpdateData(FALSE)).
  void Show(IDialogView& view) const;
  // Back from the controls (UpdateData(TRUE)). A port edit that holds no usable number
  // reads as 0; a radio group with nothing checked as -1.
  void Read(IDialogView& view);

  int radioFirstId;
  std::string status;
  bool portCheck = false;
  int32_t port = 0;
  int radio = 0;
};

// Shows `text` in the status edit (213) and paints it at once, before a step that may block.
// Nothing else is exchanged, so what the user typed stays to be read back.
void ShowStatusNow(IDialogView& view, std::string& status, const char* text);

}  // namespace pel
