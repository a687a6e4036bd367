#pragma once

#include "ports/Clock.h"

namespace pel {

// A millisecond clock from the standard library's steady clock, for builds and tools that
// have no platform clock of their own.
class SteadyMillisecondClock : public IMillisecondClock {
 public:
  uint32_t Milliseconds() override;
};

// One process-wide instance.
IMillisecondClock& DefaultMillisecondClock();

}  // namespace pel
