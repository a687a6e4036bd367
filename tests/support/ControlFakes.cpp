#include "support/ControlFakes.h"

#include <string>

namespace pel::test {

void FakeComboList::ResetContent() {
  entries_.clear();
  selection_ = kComboError;
  ++resets_;
}

int FakeComboList::AddString(const std::string& text) {
  entries_.push_back(Entry{text, 0});
  return static_cast<int>(entries_.size()) - 1;
}

int FakeComboList::SetItemData(int index, int32_t data) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return kComboError;
  entries_[static_cast<size_t>(index)].data = data;
  return 0;
}

int FakeComboList::SetCurSel(int index) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) {
    selection_ = kComboError;
    return kComboError;
  }
  selection_ = index;
  return index;
}

int32_t FakeComboList::GetItemData(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return kComboError;
  return entries_[static_cast<size_t>(index)].data;
}

std::vector<std::string> FakeComboList::Texts() const {
  std::vector<std::string> texts;
  for (const Entry& e : entries_) texts.push_back(e.text);
  return texts;
}

std::vector<int32_t> FakeComboList::Data() const {
  std::vector<int32_t> data;
  for (const Entry& e : entries_) data.push_back(e.data);
  return data;
}

void FakeOperPane::SetButtonState(int index, int state) {
  log_.Note("pane", "button " + std::to_string(index) + " " + std::to_string(state));
  if (index >= 0 && index < kPaneButtonCount) buttonStates[index] = state;
}

void FakeOperPane::SetPaneMode(int mode) {
  log_.Note("pane", "mode " + std::to_string(mode));
  modes.push_back(mode);
}

void FakeControlWindow::MoveViewer(int x, int y, int width, int height, bool repaint) {
  log_.Note("window", "move " + std::to_string(x) + " " + std::to_string(y) + " " +
                          std::to_string(width) + " " + std::to_string(height) +
                          (repaint ? "" : " norepaint"));
}

void FakeControlWindow::SizePane(int width, int height) {
  log_.Note("window", "size-pane " + std::to_string(width) + " " + std::to_string(height));
}

void FakeControlWindow::Invalidate(bool erase) {
  log_.Note("window", erase ? "invalidate erase" : "invalidate");
}

void FakeControlWindow::Update() { log_.Note("window", "update"); }

void FakeControlWindow::PostCameraLayout() {
  ++posts;
  log_.Note("window", "post-layout");
}

IOperPaneLink* FakeControlChildren::CreatePane(const ChildRect& rect, int id) {
  paneRect = rect;
  paneId = id;
  log_.Note("children", "create-pane");
  return paneFails ? nullptr : &pane;
}

IDispatchPort* FakeControlChildren::CreateViewer(const ChildRect& rect, int id) {
  viewerRect = rect;
  viewerId = id;
  log_.Note("children", "create-viewer");
  return viewerFails ? nullptr : &viewer;
}

}  // namespace pel::test
