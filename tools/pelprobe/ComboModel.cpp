#include "pelprobe/ComboModel.h"

namespace pel::probe {

void ComboModel::ResetContent() {
  entries_.clear();
  selection_ = kComboError;
}

int ComboModel::AddString(const std::string& text) {
  entries_.push_back(Entry{text, 0});
  return static_cast<int>(entries_.size() - 1);
}

int ComboModel::SetItemData(int index, int32_t data) {
  if (!Names(index)) return kComboError;
  entries_[static_cast<size_t>(index)].data = data;
  return 0;
}

int ComboModel::SetCurSel(int index) {
  if (!Names(index)) {
    selection_ = kComboError;
    return kComboError;
  }
  selection_ = index;
  return index;
}

int32_t ComboModel::GetItemData(int index) const {
  return Names(index) ? entries_[static_cast<size_t>(index)].data : kComboError;
}

int ComboModel::FindData(int32_t data) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].data == data) return static_cast<int>(i);
  }
  return kComboError;
}

}  // namespace pel::probe
