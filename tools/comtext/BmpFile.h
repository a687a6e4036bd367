#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace pel::com {

// Complete 24-bit bottom-up BMP files made with GDI; empty when GDI cannot make the bitmap.

// What `paint` draws into a width x height bitmap.
std::vector<uint8_t> PaintBmpFile(int width, int height, const std::function<void(HDC)>& paint);

// A copy of the width x height area at (x, y) of `source`.
std::vector<uint8_t> CaptureBmpFile(HDC source, int x, int y, int width, int height);

}  // namespace pel::com
