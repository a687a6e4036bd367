#include "pane/skin/SkinComboBox.h"

namespace pel {

void CSkinComboBox::AttachWindow(ISkinComboWindow* window) {
  window_ = window;
  tooltip_.Attach(window);
}

void CSkinComboBox::ResetContent() {
  entries_.clear();
  selection_ = kComboError;
  if (window_ != nullptr) window_->ResetContent();
}

int CSkinComboBox::AddString(const std::string& text) {
  entries_.push_back(Entry{text, 0});
  if (window_ != nullptr) window_->AddString(text);
  return count() - 1;
}

int CSkinComboBox::SetItemData(int index, int32_t data) {
  if (!Names(index)) return kComboError;
  entries_[static_cast<size_t>(index)].data = data;
  if (window_ != nullptr) window_->SetItemData(index, data);
  return 0;
}

int CSkinComboBox::SetCurSel(int index) {
  selection_ = Names(index) ? index : kComboError;
  if (window_ != nullptr) window_->SetCurSel(selection_);
  return selection_;
}

int32_t CSkinComboBox::GetItemData(int index) const {
  return Names(index) ? entries_[static_cast<size_t>(index)].data : kComboError;
}

std::string CSkinComboBox::GetText(int index) const {
  return Names(index) ? entries_[static_cast<size_t>(index)].text : std::string();
}

void CSkinComboBox::OnSelChange(int index) {
  selection_ = Names(index) ? index : kComboError;
  if ((kind_ == kComboKindModules || kind_ == kComboKindSpeed) && handler_) {
    handler_(kind_, GetItemData(selection_));
  }
}

}  // namespace pel
