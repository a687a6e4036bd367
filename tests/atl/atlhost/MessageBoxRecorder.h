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
  // Which dialogs are answered: every one, or only the modal ones. A modeless dialog (one that
  // leaves its owner enabled) is then left open for the test to work with.
  enum class Answers { kEvery, kModalOnly };
  explicit MessageBoxRecorder(Answers answers = Answers::kEvery);
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
  ~MessageBoxRecorder();

  bool Installed() const { return hook_ != nullptr; }
  // Report lines ("msgbox CAPTION TEXTS") of the boxes seen since the last call.
  std::vector<std::string> Take();

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wparam, LPARAM lparam);
  void Answer(HWND dialog);

  Answers answers_;
  HHOOK hook_ = nullptr;
  std::vector<std::string> seen_;
  std::set<HWND> answered_;
};
