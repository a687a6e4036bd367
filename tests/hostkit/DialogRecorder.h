// Dialog boxes (#32770: message boxes, About boxes, property frames) as a test sees them: a
// WH_CBT hook on this thread notes each one on its first activation, reports it as
//   msgbox <TAB> caption <TAB> texts      (the texts of its static controls, joined by " | ")
// and answers it, so that a modal loop returns instead of waiting for a person.
//
// "Already seen" is a mark on the window itself: a dialog activated again (when one it owned
// closes) is not reported twice, and a new dialog that happens to get a closed one's handle
// is still reported. One recorder per thread at a time.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace hostkit {

class DialogRecorder {
 public:
  // A modeless dialog leaves its owner enabled.
  enum class Modeless {
    kAnswer,           // answered like every other
    kLeave,            // left open for the test to work with
    kLeaveAndReport,   // left open, reported as "opened <TAB> caption"
  };
  struct Rules {
    Modeless modeless = Modeless::kAnswer;
    // Answer with Cancel (as the Escape key) instead of OK. OK falls back to Cancel for a
    // dialog without an OK button.
    bool cancel = false;
    // 0: read and answer the dialog as it activates. Otherwise wait this long (the dialog's
    // own loop runs, a property frame builds its page) and press Cancel, then close, for one
    // that refuses the answer.
    UINT settleMs = 0;
    // Where report lines go; without it they wait for Take().
    std::function<void(const std::string&)> line;
  };

  explicit DialogRecorder(Rules rules);
  DialogRecorder(const DialogRecorder&) = delete;
  DialogRecorder& operator=(const DialogRecorder&) = delete;
  ~DialogRecorder();

  bool Installed() const { return hook_ != nullptr; }
  // Dialogs answered so far.
  unsigned long Count() const { return answered_; }
  // Report lines since the last call (when Rules::line is not set).
  std::vector<std::string> Take();
  // Every `every`-th dialog first runs `reentry` from inside its modal loop (a zero-delay
  // thread timer, as a page's timer script fires while a control's dialog is up), then is
  // answered; dialogs opened by the reentry itself are answered at once.
  void SetReentry(std::function<void()> reentry, unsigned long every);
  // Reentries run so far.
  unsigned long Reentries() const { return reentries_; }

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wp, LPARAM lp);
  static void CALLBACK OnSettled(HWND, UINT, UINT_PTR, DWORD);
  static void CALLBACK OnReentry(HWND, UINT, UINT_PTR, DWORD);
  void Activated(HWND dialog);
  bool LeftOpen(HWND dialog);
  void Answer(HWND dialog);
  void Emit(std::string line);

  Rules rules_;
  HHOOK hook_ = nullptr;
  unsigned long answered_ = 0;
  std::vector<std::string> lines_;
  UINT_PTR timer_ = 0;
  std::vector<std::pair<HWND, int>> settling_;  // dialog, tries so far
  std::function<void()> reentry_;
  unsigned long every_ = 0;
  unsigned long reentries_ = 0;
  bool inReentry_ = false;
  HWND waiting_ = nullptr;
};

}  // namespace hostkit
