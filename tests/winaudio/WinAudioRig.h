#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace pel::wintest {

// A hidden top-level window standing in for the Audio Connection dialog: the owner of the
// devices' notification windows.
class HiddenOwner {
 public:
  HiddenOwner();
  ~HiddenOwner();
  HiddenOwner(const HiddenOwner&) = delete;
  HiddenOwner& operator=(const HiddenOwner&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// Delivers the thread's messages until `done` answers true or `limit` has passed; whether
// `done` was reached (always false without one).
bool PumpMessages(std::chrono::milliseconds limit, const std::function<bool()>& done = nullptr);

int ChildWindowCount(HWND parent);

}  // namespace pel::wintest
