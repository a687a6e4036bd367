// Modal message boxes as a test sees them: a WH_CBT hook on this thread records each box's
// caption and texts as it is activated and answers it with OK, so the control's modal loop
// returns instead of waiting for a person.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
  ~MessageBoxRecorder();

  bool Installed() const { return hook_ != nullptr; }
  // Report lines ("msgbox CAPTION TEXTS") of the boxes seen since the last call.
  std::vector<std::string> Take();

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wparam, LPARAM lparam);
  void Answer(HWND dialog);

  HHOOK hook_ = nullptr;
  std::vector<std::string> seen_;
  std::set<HWND> answered_;
};
