// The skin and background bitmaps as the pane loads them: size, colour depth, and the colours
// of the frames, faces and label row of each look.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "pane/PaneControls.h"
#include "pane/skin/SkinButton.h"
#include "res/SkinIds.h"

static_assert(IDB_PANE_BACKGROUND == pel::pane::kBackgroundBitmap);
static_assert(IDB_SKIN_NORMAL == pel::kSkinResourceBySlot[0] &&
              IDB_SKIN_PRESSED == pel::kSkinResourceBySlot[1] &&
              IDB_SKIN_HOVER == pel::kSkinResourceBySlot[2] &&
              IDB_SKIN_DISABLED == pel::kSkinResourceBySlot[3]);

namespace {

// A bitmap resource read back as top-down RGB pixels.
class Picture {
 public:
  explicit Picture(int resource) {
    const HANDLE image = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (image == nullptr) return;
    const auto bitmap = static_cast<HBITMAP>(image);
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) != 0) {
      width = info.bmWidth;
      height = info.bmHeight;
      bits = info.bmBitsPixel;
      const auto* rows = static_cast<const uint8_t*>(info.bmBits);
      for (int y = 0; rows != nullptr && y < height; ++y) {
        const uint8_t* row = rows + static_cast<size_t>(height - 1 - y) * info.bmWidthBytes;
        for (int x = 0; x < width; ++x) {
          pixels.push_back(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
        }
      }
    }
    DeleteObject(bitmap);
  }
  COLORREF At(int x, int y) const { return pixels.at(static_cast<size_t>(y) * width + x); }

  int width = 0, height = 0, bits = 0;
  std::vector<COLORREF> pixels;
};

struct Look {
  int resource;
  COLORREF faceTop;     // first row of a button's face
  COLORREF faceBottom;  // last row
  COLORREF lightFace;   // the CAM and PTZ cells
};

const Look kLooks[] = {
    {IDB_SKIN_NORMAL, RGB(57, 93, 198), RGB(57, 93, 198), RGB(197, 214, 252)},
    {IDB_SKIN_HOVER, RGB(169, 184, 230), RGB(16, 26, 55), RGB(141, 174, 251)},
    {IDB_SKIN_PRESSED, RGB(16, 26, 55), RGB(169, 184, 230), RGB(141, 174, 251)},
    {IDB_SKIN_DISABLED, RGB(176, 173, 173), RGB(176, 173, 173), RGB(197, 214, 252)},
};

class SkinResources : public testing::TestWithParam<Look> {};

TEST_P(SkinResources, CellsFramesAndFaces) {
  const Look& look = GetParam();
  const Picture skin(look.resource);
  ASSERT_EQ(432, skin.width);
  ASSERT_EQ(96, skin.height);
  ASSERT_EQ(24, skin.bits);
  // Every cell of the three button rows, at its left edge (no caption there); the last two
  // columns of the third row are one cell, Sequence.
  for (int y = 0; y < 72; y += 24) {
    for (int x = 0; x < (y == 48 ? 360 : 432); x += 72) {
      SCOPED_TRACE(testing::Message() << "cell at " << x << "," << y);
      const bool light = y == 48 && x < 144;
      EXPECT_EQ(RGB(0, 0, 0), skin.At(x, y + 5));
      EXPECT_EQ(RGB(0, 0, 0), skin.At(x + 5, y + 23));
      EXPECT_EQ(RGB(216, 224, 236), skin.At(x + 1, y + 5));
      EXPECT_EQ(RGB(216, 224, 236), skin.At(x + 5, y + 22));
      EXPECT_EQ(light ? look.lightFace : look.faceTop, skin.At(x + 3, y + 2));
      EXPECT_EQ(light ? look.lightFace : look.faceBottom, skin.At(x + 3, y + 21));
    }
  }
  // The label row: white, with dark captions where the labels are.
  int dark = 0;
  for (int y = 72; y < 96; ++y) {
    for (int x = 0; x < 432; ++x) {
      const COLORREF pixel = skin.At(x, y);
      if (x >= 216) {
        EXPECT_EQ(RGB(255, 255, 255), pixel) << x << "," << y;
      }
      if (pixel == RGB(0, 0, 0)) ++dark;
    }
  }
  EXPECT_GT(dark, 50);
}

INSTANTIATE_TEST_SUITE_P(Looks, SkinResources, testing::ValuesIn(kLooks));

TEST(BackgroundResources, PlainWhite) {
  const Picture background(IDB_PANE_BACKGROUND);
  ASSERT_EQ(180, background.width);
  ASSERT_EQ(700, background.height);
  EXPECT_EQ(24, background.bits);
  ASSERT_EQ(180u * 700u, background.pixels.size());
  for (const COLORREF pixel : background.pixels) ASSERT_EQ(RGB(255, 255, 255), pixel);
}

}  // namespace
