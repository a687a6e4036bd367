#include "pelprobe/MemoryDialogView.h"

namespace pel::probe {

namespace {
std::string Line(const char* what, int id) { return std::string(what) + " " + std::to_string(id); }
}  // namespace

void MemoryDialogView::SetText(int id, const std::string& text) {
  texts_[id] = text;
  log_.push_back(Line("text", id) + " " + text);
}

std::string MemoryDialogView::GetText(int id) {
  auto it = texts_.find(id);
  return it != texts_.end() ? it->second : std::string();
}

void MemoryDialogView::SetCheck(int id, bool checked) {
  checks_[id] = checked;
  log_.push_back(Line("check", id) + (checked ? " 1" : " 0"));
}

bool MemoryDialogView::GetCheck(int id) {
  auto it = checks_.find(id);
  return it != checks_.end() && it->second;
}

void MemoryDialogView::EnableControl(int id, bool enable) {
  enabled_[id] = enable;
  log_.push_back(Line("enable", id) + (enable ? " 1" : " 0"));
}

void MemoryDialogView::SetSliderRange(int id, int min, int max) {
  ranges_[id] = Range{min, max};
  log_.push_back(Line("range", id) + " " + std::to_string(min) + " " + std::to_string(max));
}

void MemoryDialogView::SetSliderTicFrequency(int id, int frequency) {
  log_.push_back(Line("tics", id) + " " + std::to_string(frequency));
}

void MemoryDialogView::SetSliderPosition(int id, int position) {
  positions_[id] = position;
  log_.push_back(Line("position", id) + " " + std::to_string(position));
}

int MemoryDialogView::GetSliderPosition(int id) {
  auto it = positions_.find(id);
  return it != positions_.end() ? it->second : 0;
}

void MemoryDialogView::Paint() { log_.push_back("paint"); }

void MemoryDialogView::DestroyWindow() {
  destroyed_ = true;
  log_.push_back("destroy");
}

void MemoryDialogView::ChooseRadio(int id, const std::vector<int>& group) {
  for (int other : group) checks_[other] = other == id;
}

bool MemoryDialogView::IsEnabled(int id) const {
  auto it = enabled_.find(id);
  return it == enabled_.end() || it->second;
}

MemoryDialogView::Range MemoryDialogView::SliderRange(int id) const {
  auto it = ranges_.find(id);
  return it != ranges_.end() ? it->second : Range{};
}

}  // namespace pel::probe
