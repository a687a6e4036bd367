#include "ports/SteadyClock.h"

#include <chrono>

namespace pel {

uint32_t SteadyMillisecondClock::Milliseconds() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

IMillisecondClock& DefaultMillisecondClock() {
  static SteadyMillisecondClock clock;
  return clock;
}

}  // namespace pel
