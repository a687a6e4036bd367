#pragma once

#include <windows.h>

#include <optional>

#include "pane/win/SubclassedChild.h"
#include "pane/win/WinTooltip.h"
#include "ports/SkinWindows.h"

namespace pel {
class CSkinButton;
}

namespace pel::win {

// The window of a skinned button: an owner-drawn "BUTTON" child whose mouse messages go to
// its model, every message passing on to its tooltip first. It paints the image of the
// model's state when its parent forwards WM_DRAWITEM.
class WinSkinButtonWindow final : public ISkinButtonWindow {
 public:
  explicit WinSkinButtonWindow(CSkinButton& model) : model_(model) {}

  // A visible child of `parent` with `childId` at the model's rectangle, bound to the model.
  bool Create(HWND parent, int childId);
  HWND Window() const { return child_.Window(); }
  HWND TooltipWindow() const { return tooltip_.Window(); }

  // WM_DRAWITEM for this button.
  void Draw(const DRAWITEMSTRUCT& item) const;

  // ISkinButtonWindow
  void Repaint() override;
  void SetTooltipText(const std::string& text, bool active) override;
  void ActivateTooltip(bool active) override;

 private:
  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void TrackLeave();

  CSkinButton& model_;
  WinTooltip tooltip_;
  SubclassedChild child_;  // last: its window goes first, while the rest still exists
};

}  // namespace pel::win
