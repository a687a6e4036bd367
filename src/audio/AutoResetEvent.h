#pragma once

#include <condition_variable>
#include <mutex>

namespace pel {

// An auto-reset event: Set lets exactly one wait through (now or the next one to come) and
// then the event is non-signalled again. Made non-signalled.
class AutoResetEvent {
 public:
  AutoResetEvent() = default;
  AutoResetEvent(const AutoResetEvent&) = delete;
  AutoResetEvent& operator=(const AutoResetEvent&) = delete;

  void Set();
  void Reset();
  // True when the event was signalled within `milliseconds` (negative: waits for ever);
  // the wait consumes the signal.
  bool Wait(int milliseconds);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

}  // namespace pel
