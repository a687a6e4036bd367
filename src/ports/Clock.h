#pragma once

#include <cstdint>

namespace pel {

// The system's millisecond clock (it wraps after about 49.7 days).
class IMillisecondClock {
 public:
  virtual ~IMillisecondClock() = default;
  virtual uint32_t Milliseconds() = 0;
};

}  // namespace pel
