#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace strict {

// A complete 24-bit BMP file of one colour.
std::vector<uint8_t> FlatBmp(int width, int height, COLORREF colour);

}  // namespace strict
