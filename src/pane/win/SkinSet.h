#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "Common/DisplayScale.h"
#include "pane/win/GdiHandles.h"
#include "ports/SkinWindows.h"

namespace pel::win {

using GdiFont = GdiObject<HFONT>;

// The pane's bitmaps and fonts at one display scale, made once per process and shared by
// every pane of that scale: a wall of controls in one page would otherwise hold a copy of each
// skin per button. The set goes with the last pane holding it, so the DLL still unloads.
//
// The skins are drawn from the 96-DPI bitmaps below 144 DPI and from their twice-as-large
// drawings from there on; any other size is made once from the nearer drawing with a smooth
// (halftone) stretch. Drawing may happen on any thread: a bitmap is selected into one device
// context at a time.
class SkinSet {
 public:
  // The set of `module`'s bitmaps for `dpi`; null when a bitmap cannot be loaded.
  static std::shared_ptr<const SkinSet> ForScale(HINSTANCE module, DisplayScale scale);

  SkinSet(const SkinSet&) = delete;
  SkinSet& operator=(const SkinSet&) = delete;

  const DisplayScale& scale() const { return scale_; }
  // The 96-DPI size of skin (or background) `resource`; nothing for another resource.
  std::optional<BitmapSize> BaseSize(int resource) const;
  // The bitmap drawn for `resource` at this scale; null for another resource.
  HBITMAP Bitmap(int resource) const;
  // Copies `cell` (96-DPI pixels) of skin `resource` at this scale to `dc` at (x, y).
  bool DrawCell(HDC dc, int resource, const PixelRect& cell, int x, int y) const;
  // The pane's background at this scale with its top-left corner at (0, 0).
  void DrawBackground(HDC dc) const;
  // The font of the buttons' names in high contrast mode.
  HFONT CaptionFont() const { return captionFont_.Get(); }

 private:
  struct Picture {
    int resource = 0;
    BitmapSize base;
    GdiBitmap bitmap;
  };

  explicit SkinSet(DisplayScale scale) : scale_(scale) {}
  bool Load(HINSTANCE module);
  const Picture* Find(int resource) const;

  DisplayScale scale_;
  std::array<Picture, 5> pictures_;
  GdiFont captionFont_;
};

}  // namespace pel::win
