#pragma once

#include "ports/Clock.h"

namespace pel::test {

// A millisecond clock that always reads the value it was given.
class FixedClock : public IMillisecondClock {
 public:
  explicit FixedClock(uint32_t milliseconds) : milliseconds_(milliseconds) {}
  uint32_t Milliseconds() override { return milliseconds_; }
  void Set(uint32_t milliseconds) { milliseconds_ = milliseconds; }

 private:
  uint32_t milliseconds_;
};

}  // namespace pel::test
