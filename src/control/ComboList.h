#pragma once

#include <cstdint>
#include <string>

namespace pel {

// A drop-down list as the control fills and reads it (the pane's module and speed lists).
// Indexes and item data follow the combo box messages: an index that names no entry, or an
// empty selection, gives kComboError.
class IComboList {
 public:
  static constexpr int kComboError = -1;  // CB_ERR

  virtual ~IComboList() = default;

  virtual void ResetContent() = 0;
  // Appends an entry (the lists are not sorted): its index.
  virtual int AddString(const std::string& text) = 0;
  // kComboError when `index` names no entry.
  virtual int SetItemData(int index, int32_t data) = 0;
  // Selects `index`; an index that names no entry clears the selection and gives kComboError.
  virtual int SetCurSel(int index) = 0;
  virtual int GetCurSel() const = 0;
  // The item data of `index`, kComboError when it names no entry.
  virtual int32_t GetItemData(int index) const = 0;
};

}  // namespace pel
