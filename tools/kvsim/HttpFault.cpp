#include "HttpFault.h"

namespace kvsim {

const std::string& GarbageAnswer() {
  static const std::string bytes = [] {
    std::string out(1000, '\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
      // Letters and punctuation only, never a digit, blank or sign that a status reader
      // could take for a number.
      out[i] = static_cast<char>('a' + (i * 37 + 11) % 26);
    }
    out[3] = '\x7f';
    out[600] = '\0';
    return out;
  }();
  return bytes;
}

}  // namespace kvsim
