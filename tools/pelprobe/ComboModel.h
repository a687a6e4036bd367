#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "control/ComboList.h"

namespace pel::probe {

// A drop-down list without a window: entries in the order added (the lists are not sorted),
// their item data and the selection, answering as the combo box messages do.
class ComboModel : public IComboList {
 public:
  struct Entry {
    std::string text;
    int32_t data = 0;
  };

  void ResetContent() override;
  int AddString(const std::string& text) override;
  int SetItemData(int index, int32_t data) override;
  int SetCurSel(int index) override;
  int GetCurSel() const override { return selection_; }
  int32_t GetItemData(int index) const override;

  const std::vector<Entry>& entries() const { return entries_; }
  // Index of the first entry with item data `data`, kComboError when there is none.
  int FindData(int32_t data) const;

 private:
  bool Names(int index) const { return index >= 0 && static_cast<size_t>(index) < entries_.size(); }

  std::vector<Entry> entries_;
  int selection_ = kComboError;
};

}  // namespace pel::probe
