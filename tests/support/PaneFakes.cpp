#include "support/PaneFakes.h"

#include "pane/skin/SkinButton.h"
#include "pane/skin/SkinComboBox.h"
#include "relay/RelayOutputDlg.h"

namespace pel::test {

FakeSkinImages::FakeSkinImages() {
  for (int resource : {206, 207, 208, 209}) sizes[resource] = BitmapSize{432, 96};
}

std::optional<BitmapSize> FakeSkinImages::Size(int resource) {
  const auto it = sizes.find(resource);
  if (it == sizes.end()) return std::nullopt;
  return it->second;
}

std::unique_ptr<ISkinImage> FakeSkinImages::Cut(int resource, const PixelRect& rect) {
  cuts.emplace_back(resource, rect);
  return std::make_unique<ISkinImage>();
}

bool FakePaneView::CreateButton(int control, int childId, CSkinButton&) {
  controls[static_cast<size_t>(control)].created = true;
  childIds[control] = childId;
  return true;
}

bool FakePaneView::CreateComboBox(int control, int childId, const ChildRect& rect,
                                  CSkinComboBox&) {
  if (comboFails) return false;
  Control& c = controls[static_cast<size_t>(control)];
  c.created = true;
  c.x = rect.left;
  c.y = rect.top;
  c.width = rect.right - rect.left;
  c.height = rect.bottom - rect.top;
  childIds[control] = childId;
  return true;
}

IDispatchPort* FakePaneView::CreatePanel(int childId) {
  childIds[kPaneCtlPanel] = childId;
  return panelFails ? nullptr : &panel;
}

bool FakePaneView::LoadBackground(int resource, int width, int height) {
  log_.Note("paneview", "background " + std::to_string(resource) + " " + std::to_string(width) +
                            " " + std::to_string(height));
  return !backgroundFails;
}

void FakePaneView::MoveControl(int control, int x, int y, int width, int height) {
  Control& c = controls[static_cast<size_t>(control)];
  c.x = x;
  c.y = y;
  c.width = width;
  c.height = height;
}

void FakePaneView::ShowControl(int control, bool show) {
  controls[static_cast<size_t>(control)].shown = show;
}

void FakePaneView::EnableControl(int control, bool enable) {
  controls[static_cast<size_t>(control)].enabled = enable;
}

void FakePaneView::ResizePane(int width, int height) {
  paneWidth = width;
  paneHeight = height;
}

IDispatchPort* FakePaneView::CreateVoiceControl(int childId) {
  ++voiceCreations;
  childIds[-1] = childId;
  return voiceFails ? nullptr : &voice;
}

void FakePaneView::DestroyVoiceControl() { voiceDestroyed = true; }

std::string FakePaneView::Place(int control) const {
  const Control& c = controls[static_cast<size_t>(control)];
  return std::to_string(c.x) + " " + std::to_string(c.y) + " " + std::to_string(c.width) + " " +
         std::to_string(c.height);
}

void FakePaneDialogs::OpenAudioConnection(const AudioDialogFields& fields) {
  audio.push_back(fields);
  open.insert(kAudioTitle);
}

void FakePaneDialogs::OpenVoiceConnection(const VoiceDialogFields& fields) {
  voice.push_back(fields);
  open.insert(kVoiceTitle);
}

void FakePaneDialogs::OpenRelayOutput(CRelayOutputDlg& dialog) {
  ++relayOpens;
  relayBoxes = RelayBoxes();
  open.insert(kRelayTitle);
  dialog.OnInitDialog(relayBoxes);
}

bool FakeSnapshotSystem::CreateFolder(const std::string& path) {
  if (refused.count(path) != 0) return false;
  folders.insert(path);
  created.push_back(path);
  return true;
}

bool FakeSnapshotSystem::WriteNewFile(const std::string& path, const uint8_t* data, size_t size) {
  if (writeFails) return false;
  files[path].assign(data, data + size);
  return true;
}

std::optional<std::string> FakeSnapshotSystem::AskSaveAsPath(const SaveAsRequest& request) {
  saveAsAsked.push_back(request);
  return saveAsAnswer;
}

}  // namespace pel::test
