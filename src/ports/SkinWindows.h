#pragma once

#include <memory>
#include <optional>
#include <string>

namespace pel {

// A rectangle of pixels within a bitmap: left and top inclusive, right and bottom exclusive.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PixelRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The tooltip of a skinned control's window. The Windows shell creates a tooltip control on
// first use (inactive), registers the control's client rectangle as its only tool, sets the
// text and (de)activates it; the combo box's tooltip has an initial delay of 1 ms.
class ITooltipHost {
 public:
  virtual ~ITooltipHost() = default;
  // Sets the tip text and its activation, creating the tooltip and its tool when needed.
  virtual void SetTooltipText(const std::string& text, bool active) = 0;
  // Activates or deactivates the existing tooltip.
  virtual void ActivateTooltip(bool active) = 0;
};

// The window of a skinned button: an owner-drawn button that paints the image of its model's
// visual state and forwards its mouse messages to the model.
class ISkinButtonWindow : public ITooltipHost {
 public:
  virtual void Repaint() = 0;
};

// The window of a skinned combo box (a drop-down list): it mirrors the model's entries and
// selection and reports the user's selection changes to the model.
class IComboWindow : public ITooltipHost {
 public:
  virtual void ResetContent() = 0;
  virtual void AddString(const std::string& text) = 0;
  virtual void SetCurSel(int index) = 0;
};

// An image cut out of a skin bitmap (a bitmap handle in the shell); destroying the object
// deletes it.
class ISkinImage {
 public:
  virtual ~ISkinImage() = default;
};

struct BitmapSize {
  int width = 0;
  int height = 0;
};

// The skin bitmap resources.
class ISkinImageSource {
 public:
  virtual ~ISkinImageSource() = default;
  // The size of bitmap resource `resource`; nothing when it cannot be loaded or queried.
  virtual std::optional<BitmapSize> Size(int resource) = 0;
  // A new bitmap of the same colour format holding `rect` of the resource; null on failure.
  virtual std::unique_ptr<ISkinImage> Cut(int resource, const PixelRect& rect) = 0;
};

}  // namespace pel
