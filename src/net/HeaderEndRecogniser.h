#pragma once

namespace pel {

// Recognises the empty line that ends an HTTP response header, whether the lines end in
// CR LF or in a bare LF. States: 0 start, 1 after CR, 2 after a line end, 3 after a line end
// and CR, 4 end of header. Any byte other than CR or LF returns to 0.
class HeaderEndRecogniser {
 public:
  static constexpr int kEnd = 4;

  // Feeds one byte; true once the end of the header has been seen (and from then on).
  bool Feed(char byte) {
    static constexpr int kNext[4][2] = {{1, 2}, {0, 2}, {3, kEnd}, {0, kEnd}};  // CR, LF
    if (state_ == kEnd) return true;
    if (byte == '\r') {
      state_ = kNext[state_][0];
    } else if (byte == '\n') {
      state_ = kNext[state_][1];
    } else {
      state_ = 0;
    }
    return state_ == kEnd;
  }

  bool Done() const { return state_ == kEnd; }
  int State() const { return state_; }

 private:
  int state_ = 0;
};

}  // namespace pel
