#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pel::probe {

// Length (2 to 4) of the valid UTF-8 sequence of a non-ASCII character at the start of
// `bytes`, or 0 when none starts there: a stray continuation byte, an overlong form, a
// surrogate, a code point above U+10FFFF or a sequence cut short. 0 also for ASCII bytes.
size_t Utf8SequenceLength(std::string_view bytes);

// `bytes` for a terminal line: printable ASCII and valid UTF-8 characters as they are, every
// other byte (control characters, C1 controls, bytes outside a valid sequence) as \xHH, and a
// backslash as two.
std::string Printable(std::string_view bytes);

}  // namespace pel::probe
