#pragma once

#include <windows.h>

#include <memory>

#include "pane/win/SkinSet.h"
#include "ports/SkinWindows.h"

namespace pel::win {

// A skinned button's image: a cell of one of the process's shared skins, which it keeps
// alive; it owns no bitmap of its own.
class WinSkinImage final : public ISkinImage {
 public:
  WinSkinImage(std::shared_ptr<const SkinSet> skins, int resource, const PixelRect& cell)
      : skins_(std::move(skins)), resource_(resource), cell_(cell) {}

  // The shared skin bitmap the cell is drawn from.
  HBITMAP Handle() const { return skins_->Bitmap(resource_); }
  int width() const { return cell_.Width(); }
  int height() const { return cell_.Height(); }

  // Draws the cell at the skins' scale to `dc` with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const { skins_->DrawCell(dc, resource_, cell_, x, y); }

 private:
  std::shared_ptr<const SkinSet> skins_;
  int resource_;
  PixelRect cell_;
};

}  // namespace pel::win
