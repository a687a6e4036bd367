#pragma once

#include <windows.h>

namespace hostile {

// Closes every dialog box the control opens on this thread as soon as it activates (a
// WH_CBT hook), and counts them. A modal dialog would otherwise wait for a user.
class DialogDismisser {
 public:
  DialogDismisser();
  DialogDismisser(const DialogDismisser&) = delete;
  DialogDismisser& operator=(const DialogDismisser&) = delete;
  ~DialogDismisser();

  bool Installed() const { return hook_ != nullptr; }
  // Dialogs dismissed so far.
  unsigned long Count() const;

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace hostile
