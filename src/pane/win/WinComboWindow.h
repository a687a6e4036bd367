#pragma once

#include <windows.h>

#include <cstdint>

#include "pane/skin/SkinComboBox.h"
#include "pane/win/AccessibleSource.h"
#include "pane/win/PaneChildSupport.h"
#include "pane/win/SubclassedChild.h"
#include "pane/win/WinTooltip.h"
#include "ports/ControlChildren.h"

namespace pel::win {

// The window of a skinned combo box: a "COMBOBOX" drop-down list child mirroring its model's
// entries, their item data and the selection. Mouse moves pass on to its tooltip (initial
// delay 1 ms); the parent hands the list's selection changes back through OnSelChange. Tab
// goes to the pane's keyboard; accessibility clients see a combo box named by its label.
class WinComboWindow final : public ISkinComboWindow, public IAccessibleSource {
 public:
  // `labelText`: the string resource of the label that names the list.
  WinComboWindow(CSkinComboBox& model, PaneChildSupport support, int labelText);
  ~WinComboWindow() override;
  WinComboWindow(const WinComboWindow&) = delete;
  WinComboWindow& operator=(const WinComboWindow&) = delete;

  // A visible drop-down list with a vertical scroll bar, child `childId` of `parent` at
  // `rect`, bound to the model and showing the entries it already holds.
  bool Create(HWND parent, int childId, const ChildRect& rect);
  HWND Window() const { return child_.Window(); }
  HWND TooltipWindow() const { return tooltip_.Window(); }

  // CBN_SELCHANGE: the user chose an entry.
  void OnSelChange();

  // ISkinComboWindow
  void ResetContent() override;
  void AddString(const std::string& text) override;
  void SetCurSel(int index) override;
  void SetItemData(int index, int32_t data) override;
  void SetTooltipText(const std::string& text, bool active) override;
  void ActivateTooltip(bool active) override;

  // IAccessibleSource; the default action opens or closes the list.
  AccessibleFacts Facts() const override;
  bool DoDefaultAction() override;
  // Whether the keyboard may stop here: visible and enabled.
  bool TakesFocus() const;
  // Opens the list, or closes it when it is open.
  void FlipDropDown();

 private:
  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool Dropped() const;

  CSkinComboBox& model_;
  PaneChildSupport support_;
  int labelText_;
  AccessibleLinkRef link_;
  long notifiedState_ = 0;
  WinTooltip tooltip_;
  SubclassedChild child_;  // last: its window goes first, while the rest still exists
};

}  // namespace pel::win
