#include "support/PaneFakes.h"

#include "relay/RelayOutputDlg.h"

namespace pel::test {

bool FakePaneView::CreateButton(int control, int childId, CSkinButton&) {
  childIds[control] = childId;
  return true;
}

bool FakePaneView::CreateComboBox(int control, int childId, const ChildRect&, CSkinComboBox&) {
  childIds[control] = childId;
  return !comboFails;
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
  c = Control{c.shown, x, y, width, height};
}

IDispatchPort* FakePaneView::CreateVoiceControl(int childId) {
  childIds[-1] = childId;
  return voiceFails ? nullptr : &voice;
}

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

}  // namespace pel::test
