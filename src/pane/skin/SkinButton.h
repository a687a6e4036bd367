#pragma once

#include <array>
#include <memory>

#include "pane/skin/SkinCell.h"
#include "pane/skin/SkinTooltip.h"
#include "ports/ControlChildren.h"
#include "ports/SkinWindows.h"
#include "res/SkinIds.h"

namespace pel {

// The owner's notification: (data1, code, data2) with code 2 pressed, 3 released.
using SkinButtonCallback = void (*)(int data1, int code, void* data2);

// Visual states; also the states SetState takes (3 is refused there).
enum SkinVisual : int {
  kSkinNormal = 1,
  kSkinPressed = 2,  // pressed, or latched for a toggle button
  kSkinHover = 3,
  kSkinDisabledLook = 4,
};

// The four images, each cut from the skin of its look.
enum SkinSlot : int { kSlotNormal = 0, kSlotPressed = 1, kSlotHover = 2, kSlotDisabled = 3 };
constexpr int kSkinSlotCount = 4;
constexpr int kSkinResourceBySlot[kSkinSlotCount] = {IDB_SKIN_NORMAL, IDB_SKIN_PRESSED,
                                                     IDB_SKIN_HOVER, IDB_SKIN_DISABLED};

// A multiple for a button's creation rectangle; {0, 0} is none.
struct SkinUnit {
  int cx = 0;
  int cy = 0;
};

// The skinned push or toggle button: its states, latch, accept flag, hover tracking and the
// press and release reports to its owner. Its window (ISkinButtonWindow) paints the image of
// ImageSlot() and forwards the mouse messages here.
//
// A push button reports 2 on press and 3 on release. A toggle button reports 2 when pressed
// while off, nothing on the release that latches it, and 3 on the release that turns it off
// or whose latch the owner refused (by clearing the accept flag during the press report).
class CSkinButton {
 public:
  CSkinButton() = default;
  CSkinButton(const CSkinButton&) = delete;
  CSkinButton& operator=(const CSkinButton&) = delete;

  // Prepares the button for its window at `rect` (multiplied by `unit` when one is given;
  // then both its parts must be above 0, else false and nothing is made): enabled, normal
  // look, no images, a push button, not latched, with the callback and its data.
  bool Create(const ChildRect& rect, SkinUnit unit, SkinButtonCallback callback, int data1,
              void* data2);
  const ChildRect& rect() const { return rect_; }

  // Binds the window (null: none) that repaints the button and shows its tooltip.
  void AttachWindow(ISkinButtonWindow* window);

  // Cuts `cell` (in units of `unit` pixels) out of skin bitmap `resource` into image `slot`
  // and records its size. False, storing nothing, for a bad cell, unit or slot, a bitmap that
  // cannot be loaded, or a cell beyond the bitmap.
  bool LoadSkinImage(ISkinImageSource& skins, int resource, const SkinCell& cell, int unit,
                     int slot);
  const ISkinImage* Image(int slot) const;
  int imageWidth() const { return imageWidth_; }
  int imageHeight() const { return imageHeight_; }

  // Ignored while disabled and for state 3. State 4 disables the button. A push button takes
  // state 1 or 2 as its look; a toggle button unlatches for 1 and latches for 2.
  void SetState(int state);
  int GetState() const { return visual_; }
  void SetAccept(int flag) { accept_ = flag; }
  int GetAccept() const { return accept_; }
  void SetToggle(bool toggle);
  bool IsToggle() const { return toggle_; }
  bool IsLatched() const { return latched_; }
  // Clears the latch; the normal look when enabled, the disabled look when not.
  void Enable(bool enable);
  bool IsEnabled() const { return enabled_; }

  void SetTooltip(int stringId, bool activate) { tooltip_.Set(stringId, activate); }
  void ActivateTooltip(bool activate) { tooltip_.Activate(activate); }
  const SkinTooltip& tooltip() const { return tooltip_; }

  // Mouse messages. OnMouseMove gives true for the first move since the mouse left (the
  // window then relays it to the tooltip and asks for a leave notification); `over` says the
  // cursor is over this button and `activeWindow` that the thread has an active window.
  bool OnMouseMove(bool over, bool activeWindow);
  void OnMouseLeave();
  void OnMouseHover() { Repaint(); }
  void OnLButtonDown();
  void OnLButtonUp();
  // The window is gone: the images are deleted.
  void OnDestroy();

  // The image to paint for the current state.
  SkinSlot ImageSlot() const;

 private:
  void Repaint();
  void Notify(int code);

  int accept_ = 1;
  std::array<std::unique_ptr<ISkinImage>, kSkinSlotCount> images_;
  bool enabled_ = true;
  bool toggle_ = false;
  bool latched_ = false;
  int visual_ = kSkinNormal;
  int imageWidth_ = 0;
  int imageHeight_ = 0;
  int data1_ = 0;
  SkinButtonCallback callback_ = nullptr;
  void* data2_ = nullptr;
  SkinTooltip tooltip_;
  bool tracking_ = false;
  ChildRect rect_;
  ISkinButtonWindow* window_ = nullptr;
};

}  // namespace pel
