#pragma once

#include <cstdint>

namespace pel {

// The display scale of a window: its dots per inch against the 96 that every figure of the
// control's layout is given in. Lengths are rounded to the nearest pixel, halves away from
// zero, as the system's MulDiv does.
class DisplayScale {
 public:
  static constexpr int kBaseDpi = 96;
  // Beyond these the system's figure is not believed and the base is used.
  static constexpr int kLowestDpi = 48;
  static constexpr int kHighestDpi = 960;

  constexpr DisplayScale() = default;
  constexpr explicit DisplayScale(int dpi)
      : dpi_(dpi >= kLowestDpi && dpi <= kHighestDpi ? dpi : kBaseDpi) {}

  constexpr int dpi() const { return dpi_; }
  constexpr bool IsBase() const { return dpi_ == kBaseDpi; }

  // A length of the 96-DPI layout in pixels of this scale.
  constexpr int Px(int length) const {
    const int64_t scaled = int64_t{length} * dpi_;
    const int64_t half = kBaseDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kBaseDpi
                                        : -((-scaled + half) / kBaseDpi));
  }

 private:
  int dpi_ = kBaseDpi;
};

}  // namespace pel
