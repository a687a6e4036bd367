#pragma once

#include <windows.h>

#include <set>
#include <utility>
#include <vector>

namespace pel::host {

class Report;

// Test mode's answer to modal dialogs (message boxes, the About box, property frames): a CBT
// hook on this thread notes each dialog as it is activated; a moment later, once the dialog
// has built its children (a property frame its page), it is reported -- "msgbox <TAB>
// caption <TAB> texts", the texts of its static controls joined by " | " -- and closed with
// OK (Cancel when it has no OK button); one that stays (a property frame without pages
// refuses OK) gets Cancel, then a close. A modeless dialog (its owner still enabled) is only
// reported as "opened <TAB> caption" and left open. Installed for as long as the object lives.
class DialogRecorder {
 public:
  explicit DialogRecorder(Report& report);
  DialogRecorder(const DialogRecorder&) = delete;
  DialogRecorder& operator=(const DialogRecorder&) = delete;
  ~DialogRecorder();

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void Record(HWND dialog);

  Report& report_;
  HHOOK hook_ = nullptr;
  UINT_PTR timer_ = 0;
  std::set<HWND> seen_;
  std::vector<std::pair<HWND, int>> pending_;  // dialog, tries to close it so far
};

}  // namespace pel::host
