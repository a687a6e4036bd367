#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pel::standin {

// The synthetic camera pictures: camera N is a tile of its own colour with "Cam N" and the
// camera's title.
COLORREF CameraColour(int camera);
void PaintTile(HDC dc, const RECT& area, int camera, const std::wstring& title, bool selected);

// A complete BMP file (24 bits, bottom-up) of camera `camera`'s tile at width x height.
std::vector<uint8_t> RenderTileBmp(int camera, const std::wstring& title, int width, int height);

}  // namespace pel::standin
