#include "pane/win/SkinSet.h"

#include <map>
#include <mutex>

#include "pane/win/WinSkinImageSource.h"
#include "res/SkinIds.h"

namespace pel::win {

namespace {

constexpr int kResources[] = {IDB_SKIN_DISABLED, IDB_SKIN_HOVER, IDB_SKIN_NORMAL,
                              IDB_SKIN_PRESSED, IDB_PANE_BACKGROUND};
// From this scale on the twice-as-large drawings are the nearer ones.
constexpr int kTwiceDrawingFromDpi = 144;
// The caption font's height at 96 DPI, in pixels.
constexpr int kCaptionHeight = 12;

// The sets alive in the process, by scale; an expired entry is made again on next use.
std::mutex& CacheLock() {
  static std::mutex lock;
  return lock;
}
std::map<int, std::weak_ptr<const SkinSet>>& Cache() {
  static std::map<int, std::weak_ptr<const SkinSet>> sets;
  return sets;
}
// A shared bitmap is selected into one device context at a time, whatever the thread.
std::mutex& SelectLock() {
  static std::mutex lock;
  return lock;
}

std::optional<BitmapSize> SizeOf(HBITMAP bitmap) {
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return std::nullopt;
  return BitmapSize{info.bmWidth, info.bmHeight};
}

// `source` stretched to width x height with the halftone filter, as a new 24-bit section.
GdiBitmap Stretched(HBITMAP source, const BitmapSize& from, int width, int height) {
  GdiBitmap target = CreateBitmap24(width, height);
  if (!target) return target;
  const MemoryDc in(source);
  const MemoryDc out(target.Get());
  if (!in.Ready() || !out.Ready()) return GdiBitmap();
  SetStretchBltMode(out.Get(), HALFTONE);
  SetBrushOrgEx(out.Get(), 0, 0, nullptr);  // as the halftone mode asks
  if (!StretchBlt(out.Get(), 0, 0, width, height, in.Get(), 0, 0, from.width, from.height,
                  SRCCOPY)) {
    return GdiBitmap();
  }
  return target;
}

GdiFont MakeCaptionFont(const DisplayScale& scale) {
  LOGFONTW font = {};
  font.lfHeight = -scale.Px(kCaptionHeight);
  font.lfWeight = FW_BOLD;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  return GdiFont(CreateFontIndirectW(&font));
}

}  // namespace

std::shared_ptr<const SkinSet> SkinSet::ForScale(HINSTANCE module, DisplayScale scale) {
  const std::lock_guard<std::mutex> hold(CacheLock());
  std::weak_ptr<const SkinSet>& entry = Cache()[scale.dpi()];
  if (std::shared_ptr<const SkinSet> alive = entry.lock()) return alive;
  std::shared_ptr<SkinSet> made(new SkinSet(scale));
  if (!made->Load(module)) return nullptr;
  entry = made;
  return made;
}

bool SkinSet::Load(HINSTANCE module) {
  const bool twice = scale_.dpi() >= kTwiceDrawingFromDpi;
  for (size_t i = 0; i < pictures_.size(); ++i) {
    Picture& picture = pictures_[i];
    picture.resource = kResources[i];
    const bool skin = picture.resource != IDB_PANE_BACKGROUND;
    const int factor = skin && twice ? 2 : 1;
    GdiBitmap source = LoadBitmapResource(
        module, skin && twice ? picture.resource + IDB_SKIN_2X_OFFSET : picture.resource);
    const std::optional<BitmapSize> size = SizeOf(source.Get());
    if (!size) return false;
    picture.base = BitmapSize{size->width / factor, size->height / factor};
    const int width = scale_.Px(picture.base.width);
    const int height = scale_.Px(picture.base.height);
    if (width == size->width && height == size->height) {
      picture.bitmap = std::move(source);
    } else if (skin) {
      picture.bitmap = Stretched(source.Get(), *size, width, height);
    } else {
      // The background is plain: the loader's own stretch will do.
      picture.bitmap = LoadBitmapResource(module, picture.resource, width, height);
    }
    if (!picture.bitmap) return false;
  }
  captionFont_ = MakeCaptionFont(scale_);
  return true;
}

const SkinSet::Picture* SkinSet::Find(int resource) const {
  for (const Picture& picture : pictures_) {
    if (picture.resource == resource) return &picture;
  }
  return nullptr;
}

std::optional<BitmapSize> SkinSet::BaseSize(int resource) const {
  const Picture* picture = Find(resource);
  return picture != nullptr ? std::optional<BitmapSize>(picture->base) : std::nullopt;
}

HBITMAP SkinSet::Bitmap(int resource) const {
  const Picture* picture = Find(resource);
  return picture != nullptr ? picture->bitmap.Get() : nullptr;
}

bool SkinSet::DrawCell(HDC dc, int resource, const PixelRect& cell, int x, int y) const {
  const HBITMAP bitmap = Bitmap(resource);
  if (bitmap == nullptr) return false;
  const int left = scale_.Px(cell.left);
  const int top = scale_.Px(cell.top);
  const std::lock_guard<std::mutex> hold(SelectLock());
  const MemoryDc source(bitmap);
  return source.Ready() && BitBlt(dc, x, y, scale_.Px(cell.right) - left,
                                  scale_.Px(cell.bottom) - top, source.Get(), left, top,
                                  SRCCOPY) != FALSE;
}

void SkinSet::DrawBackground(HDC dc) const {
  const Picture* picture = Find(IDB_PANE_BACKGROUND);
  const std::lock_guard<std::mutex> hold(SelectLock());
  const MemoryDc source(picture->bitmap.Get());
  if (source.Ready()) {
    BitBlt(dc, 0, 0, scale_.Px(picture->base.width), scale_.Px(picture->base.height),
           source.Get(), 0, 0, SRCCOPY);
  }
}

}  // namespace pel::win
