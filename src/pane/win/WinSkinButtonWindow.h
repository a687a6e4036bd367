#pragma once

#include <windows.h>

#include <optional>

#include "pane/win/AccessibleSource.h"
#include "pane/win/HighContrastButton.h"
#include "pane/win/PaneChildSupport.h"
#include "pane/win/SubclassedChild.h"
#include "pane/win/WinTooltip.h"
#include "ports/SkinWindows.h"

namespace pel {
class CSkinButton;
}

namespace pel::win {

// The window of a skinned button: an owner-drawn "BUTTON" child whose mouse messages go to
// its model, every message passing on to its tooltip first. It paints the image of the
// model's state when its parent forwards WM_DRAWITEM, with the focus mark over it. Keys go to
// the pane's keyboard; accessibility clients see a push button (a check button for a toggle,
// static text for a label) named by its tooltip or label text.
class WinSkinButtonWindow final : public ISkinButtonWindow, public IAccessibleSource {
 public:
  // `labelText`: the string of a label button's name (it has no active tooltip), 0 otherwise;
  // `caption`: the name it shows in high contrast mode.
  WinSkinButtonWindow(CSkinButton& model, PaneChildSupport support, int labelText = 0,
                      ButtonCaption caption = {});
  ~WinSkinButtonWindow() override;
  WinSkinButtonWindow(const WinSkinButtonWindow&) = delete;
  WinSkinButtonWindow& operator=(const WinSkinButtonWindow&) = delete;

  // A visible child of `parent` with `childId` at `rect` (the model's rectangle at the
  // display's scale), bound to the model.
  bool Create(HWND parent, int childId, const ChildRect& rect);
  HWND Window() const { return child_.Window(); }
  HWND TooltipWindow() const { return tooltip_.Window(); }

  // WM_DRAWITEM for this button: its skin image, or with `highContrast` its caption in the
  // system's colours and `captionFont`.
  void Draw(const DRAWITEMSTRUCT& item, bool highContrast, HFONT captionFont) const;

  // ISkinButtonWindow
  void Repaint() override;
  void SetTooltipText(const std::string& text, bool active) override;
  void ActivateTooltip(bool active) override;

  // IAccessibleSource; the default action is a press, as by the mouse.
  AccessibleFacts Facts() const override;
  bool DoDefaultAction() override;
  // Whether the keyboard may stop here: a visible, enabled button that is not a label.
  bool TakesFocus() const;
  // A press and release, as by the mouse, that leaves the button without the hover look.
  void Press();

 private:
  void DrawFocusMark(const DRAWITEMSTRUCT& item) const;
  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void TrackLeave();

  CSkinButton& model_;
  PaneChildSupport support_;
  int labelText_;
  ButtonCaption caption_;
  AccessibleLinkRef link_;
  long notifiedState_ = 0;
  WinTooltip tooltip_;
  SubclassedChild child_;  // last: its window goes first, while the rest still exists
};

}  // namespace pel::win
