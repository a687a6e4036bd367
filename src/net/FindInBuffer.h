#pragma once

#include <cstddef>

namespace pel {

// First occurrence of the terminated `text` within the first `length` bytes of `buffer`
// (byte-exact, case matters), or null.
const char* FindInBuffer(const char* buffer, const char* text, size_t length);

}  // namespace pel
