#pragma once

#include <windows.h>

#include "ProbeDispatch.h"

namespace hostile {

// Closes every dialog box the control opens on this thread as soon as it activates (a
// WH_CBT hook), and counts them. A modal dialog would otherwise wait for a user.
//
// With a reentry set, every n-th dialog first runs it from inside the dialog's modal loop
// (a zero-delay thread timer, as a page's timer script fires while a control's dialog is up),
// then closes. Dialogs opened by the reentry itself are closed at once.
class DialogDismisser {
 public:
  DialogDismisser();
  DialogDismisser(const DialogDismisser&) = delete;
  DialogDismisser& operator=(const DialogDismisser&) = delete;
  ~DialogDismisser();

  bool Installed() const { return hook_ != nullptr; }
  // Dialogs dismissed so far.
  unsigned long Count() const;
  void SetReentry(Reentry reentry, unsigned long every);
  // Reentries run so far.
  unsigned long Reentries() const;

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace hostile
