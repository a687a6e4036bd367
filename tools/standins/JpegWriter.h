#pragma once

#include <cstdint>
#include <vector>

namespace pel::standin {

// A complete baseline JPEG (JFIF) file of a picture in one flat colour: three components at
// full resolution, every quantiser 1, every block coded by its DC term and an end of block.
std::vector<uint8_t> EncodeFlatJpeg(int width, int height, uint8_t red, uint8_t green,
                                    uint8_t blue);

}  // namespace pel::standin
