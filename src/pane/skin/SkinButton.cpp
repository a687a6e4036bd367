#include "pane/skin/SkinButton.h"

#include <cstdint>
#include <limits>

namespace pel {

namespace {

bool Scale(int value, int by, int& out) {
  const int64_t scaled = int64_t{value} * by;
  if (scaled < std::numeric_limits<int>::min() || scaled > std::numeric_limits<int>::max()) {
    return false;
  }
  out = static_cast<int>(scaled);
  return true;
}

}  // namespace

bool CSkinButton::Create(const ChildRect& rect, SkinUnit unit, SkinButtonCallback callback,
                         int data1, void* data2) {
  ChildRect placed = rect;
  if (unit.cx != 0 || unit.cy != 0) {
    if (unit.cx <= 0 || unit.cy <= 0) return false;
    if (!Scale(rect.left, unit.cx, placed.left) || !Scale(rect.right, unit.cx, placed.right) ||
        !Scale(rect.top, unit.cy, placed.top) || !Scale(rect.bottom, unit.cy, placed.bottom)) {
      return false;
    }
  }
  rect_ = placed;
  enabled_ = true;
  visual_ = kSkinNormal;
  for (auto& image : images_) image.reset();
  toggle_ = false;
  latched_ = false;
  imageWidth_ = 0;
  imageHeight_ = 0;
  callback_ = callback;
  data1_ = data1;
  data2_ = data2;
  return true;
}

void CSkinButton::AttachWindow(ISkinButtonWindow* window) {
  window_ = window;
  tooltip_.Attach(window);
}

bool CSkinButton::LoadSkinImage(ISkinImageSource& skins, int resource, const SkinCell& cell,
                                int unit, int slot) {
  if (slot < 0 || slot >= kSkinSlotCount) return false;
  const std::optional<BitmapSize> size = skins.Size(resource);
  if (!size) return false;
  const std::optional<PixelRect> pixels = SkinCellPixels(cell, unit, *size);
  if (!pixels) return false;
  std::unique_ptr<ISkinImage> image = skins.Cut(resource, *pixels);
  if (!image) return false;
  images_[static_cast<size_t>(slot)] = std::move(image);
  imageWidth_ = pixels->Width();
  imageHeight_ = pixels->Height();
  return true;
}

const ISkinImage* CSkinButton::Image(int slot) const {
  return slot >= 0 && slot < kSkinSlotCount ? images_[static_cast<size_t>(slot)].get() : nullptr;
}

void CSkinButton::SetState(int state) {
  if (!enabled_ || state == kSkinHover) return;
  if (state == kSkinDisabledLook) {
    Enable(false);
    return;
  }
  if (state != kSkinNormal && state != kSkinPressed) return;
  if (toggle_) latched_ = state == kSkinPressed;
  visual_ = state;
  Repaint();
}

void CSkinButton::SetToggle(bool toggle) {
  toggle_ = toggle;
  Repaint();
}

void CSkinButton::Enable(bool enable) {
  latched_ = false;
  enabled_ = enable;
  visual_ = enable ? kSkinNormal : kSkinDisabledLook;
  Repaint();
}

bool CSkinButton::OnMouseMove(bool over, bool activeWindow) {
  const bool first = !tracking_;
  tracking_ = true;
  if (over && activeWindow) {
    const int before = visual_;
    if (!enabled_) {
      visual_ = kSkinDisabledLook;
    } else if (visual_ == kSkinNormal) {
      visual_ = kSkinHover;
    }
    if (visual_ != before) Repaint();
  }
  return first;
}

void CSkinButton::OnMouseLeave() {
  if (enabled_ && !latched_) visual_ = kSkinNormal;
  Repaint();
  tracking_ = false;
}

void CSkinButton::OnLButtonDown() {
  if (!enabled_ || visual_ == kSkinPressed) return;
  visual_ = kSkinPressed;
  Repaint();
  if (!(toggle_ && latched_)) Notify(2);
}

void CSkinButton::OnLButtonUp() {
  if (visual_ != kSkinPressed) return;
  if (!toggle_) {
    visual_ = kSkinHover;
  } else {
    latched_ = !latched_;
    if (!(latched_ && accept_ == 1)) {
      latched_ = false;
      visual_ = kSkinHover;
    }
  }
  Repaint();
  if (enabled_ && !(toggle_ && latched_)) Notify(visual_);
}

void CSkinButton::OnDestroy() {
  for (auto& image : images_) image.reset();
  window_ = nullptr;
  tooltip_.Attach(nullptr);
}

SkinSlot CSkinButton::ImageSlot() const {
  if (!enabled_) return kSlotDisabled;
  switch (visual_) {
    case kSkinPressed: return kSlotPressed;
    case kSkinHover: return kSlotHover;
    default: return kSlotNormal;
  }
}

void CSkinButton::Repaint() {
  if (window_ != nullptr) window_->Repaint();
}

void CSkinButton::Notify(int code) {
  if (callback_ != nullptr) callback_(data1_, code, data2_);
}

}  // namespace pel
