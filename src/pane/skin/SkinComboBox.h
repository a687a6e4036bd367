#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "control/ComboList.h"
#include "pane/skin/SkinTooltip.h"
#include "ports/SkinWindows.h"

namespace pel {

// What a skinned combo box is for: its kind decides what a selection change does.
enum SkinComboKind : int {
  kComboKindNone = 0,
  kComboKindModules = 1,  // the pane re-runs the module set-up with the item data
  kComboKindSpeed = 2,    // the pane passes the item data to the viewer's speed
};

// The window of a skinned combo box, which also keeps the entries' item data: equal to the
// model's, as in any combo box, so that tools reading the window (accessibility, automation)
// find the module numbers and frame intervals there.
class ISkinComboWindow : public IComboWindow {
 public:
  virtual void SetItemData(int index, int32_t data) = 0;
};

// The skinned drop-down list: its entries, item data and selection, its tooltip, and the
// report of a selection change by kind. The model holds the entries; its window (when there is
// one) mirrors them and reports the user's choice through OnSelChange.
class CSkinComboBox : public IComboList {
 public:
  using SelectionHandler = std::function<void(int kind, int32_t itemData)>;

  void AttachWindow(ISkinComboWindow* window);
  void SetSelectionHandler(SelectionHandler handler) { handler_ = std::move(handler); }

  void SetKind(int kind) { kind_ = kind; }
  int kind() const { return kind_; }
  void SetTooltip(int stringId, bool activate) { tooltip_.Set(stringId, activate); }
  void ActivateTooltip(bool activate) { tooltip_.Activate(activate); }
  const SkinTooltip& tooltip() const { return tooltip_; }

  // IComboList
  void ResetContent() override;
  int AddString(const std::string& text) override;
  int SetItemData(int index, int32_t data) override;
  int SetCurSel(int index) override;
  int GetCurSel() const override { return selection_; }
  int32_t GetItemData(int index) const override;

  std::string GetText(int index) const;
  int count() const { return static_cast<int>(entries_.size()); }

  // The user chose entry `index` in the window: the current selection's item data goes to the
  // handler for kinds 1 and 2.
  void OnSelChange(int index);

 private:
  struct Entry {
    std::string text;
    int32_t data = 0;
  };
  bool Names(int index) const { return index >= 0 && index < count(); }

  std::vector<Entry> entries_;
  int selection_ = kComboError;
  int kind_ = kComboKindNone;
  SkinTooltip tooltip_;
  ISkinComboWindow* window_ = nullptr;
  SelectionHandler handler_;
};

}  // namespace pel
