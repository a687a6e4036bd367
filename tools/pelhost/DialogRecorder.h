#pragma once

#include <windows.h>

#include <set>

namespace pel::host {

class Report;

// Test mode's answer to modal dialogs (message boxes, the About box): a CBT hook on this
// thread reports each dialog as it is activated -- "msgbox <TAB> caption <TAB> texts", the
// texts of its static controls joined by " | " -- and closes it with OK (Cancel when it has no
// OK button). Installed for as long as the object lives.
class DialogRecorder {
 public:
  explicit DialogRecorder(Report& report);
  DialogRecorder(const DialogRecorder&) = delete;
  DialogRecorder& operator=(const DialogRecorder&) = delete;
  ~DialogRecorder();

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  void Record(HWND dialog);

  Report& report_;
  HHOOK hook_ = nullptr;
  std::set<HWND> seen_;
};

}  // namespace pel::host
