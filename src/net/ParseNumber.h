#pragma once

#include <cstddef>
#include <cstdint>

namespace pel {

// Reads a number from server page text: after "0x" or "0X" hexadecimal digits, otherwise
// optional white space, an optional sign and decimal digits; 32-bit wrapping arithmetic; no
// digits give 0. Never looks at more than `available` bytes, so a number that ends at the
// last byte of a full buffer is read up to that byte.
int32_t ParseNumber(const char* text, size_t available);

// The same for terminated text.
int32_t ParseNumber(const char* text);

}  // namespace pel
