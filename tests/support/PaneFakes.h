#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ports/PaneDialogs.h"
#include "ports/PaneView.h"
#include "ports/SnapshotSystem.h"
#include "relay/RelayBoxes.h"
#include "support/RecordingDispatch.h"

namespace pel::test {

// The four skins as 432 x 96 bitmaps; every cut is recorded.
class FakeSkinImages : public ISkinImageSource {
 public:
  std::optional<BitmapSize> Size(int resource) override {
    if (resource < 206 || resource > 209) return std::nullopt;
    return BitmapSize{432, 96};
  }
  std::unique_ptr<ISkinImage> Cut(int resource, const PixelRect& rect) override {
    cuts.emplace_back(resource, rect);
    return std::make_unique<ISkinImage>();
  }
  std::vector<std::pair<int, PixelRect>> cuts;
};

// The pane's window: where each control is and whether it is shown, the child IDs, and the
// panel ("uart") and voice component ("voice") as recording dispatches in the shared log.
class FakePaneView : public IPaneView {
 public:
  struct Control {
    bool shown = true;
    int x = -1, y = -1, width = -1, height = -1;
  };

  explicit FakePaneView(CallLog& log) : panel("uart", log), voice("voice", log), log_(log) {}

  bool CreateButton(int control, int childId, CSkinButton&) override;
  bool CreateComboBox(int control, int childId, const ChildRect&, CSkinComboBox&) override;
  ISkinImageSource& SkinImages() override { return skins; }
  IDispatchPort* CreatePanel(int childId) override;
  bool LoadBackground(int resource, int width, int height) override;
  void MoveControl(int control, int x, int y, int width, int height) override;
  void ShowControl(int control, bool show) override { controls[static_cast<size_t>(control)].shown = show; }
  void EnableControl(int, bool) override {}
  void ResizePane(int width, int height) override { paneSize = {width, height}; }
  IDispatchPort* CreateVoiceControl(int childId) override;
  void DestroyVoiceControl() override { voiceDestroyed = true; }

  // "x y w h" of a control.
  std::string Place(int control) const;

  std::array<Control, kPaneControlCount> controls;
  std::map<int, int> childIds;  // control (-1: the voice component) -> child ID
  FakeSkinImages skins;
  RecordingDispatch panel;
  RecordingDispatch voice;
  bool panelFails = false, comboFails = false, backgroundFails = false, voiceFails = false;
  std::pair<int, int> paneSize;
  bool voiceDestroyed = false;

 private:
  CallLog& log_;
};

// The dialogs: which titles are open, what each dialog was handed; the relay dialog runs on
// boxes in memory.
class FakePaneDialogs : public IPaneDialogs {
 public:
  bool IsWindowOpen(const std::string& title) override { return open.count(title) != 0; }
  void OpenAudioConnection(const AudioDialogFields& fields) override;
  void OpenVoiceConnection(const VoiceDialogFields& fields) override;
  void ShowDownload(int32_t value) override { downloads.push_back(value); }
  void VoiceStatus(int32_t code, int32_t detail) override { statuses.emplace_back(code, detail); }
  void OpenRelayOutput(CRelayOutputDlg& dialog) override;

  std::set<std::string> open;
  std::vector<AudioDialogFields> audio;
  std::vector<VoiceDialogFields> voice;
  std::vector<int32_t> downloads;
  std::vector<std::pair<int32_t, int32_t>> statuses;
  RelayBoxes relayBoxes;
  int relayOpens = 0;
};

// Folders and files in memory, a fixed clock and OS version, and a scripted Save As dialog.
class FakeSnapshotSystem : public ISnapshotSystem {
 public:
  std::optional<int> OsMajorVersion() override { return osMajor; }
  std::optional<std::string> ProfileFolder() override { return profile; }
  LocalTime Now() override { return now; }
  bool FolderExists(const std::string& path) override { return folders.count(path) != 0; }
  bool CreateFolder(const std::string& path) override;
  bool WriteNewFile(const std::string& path, const uint8_t* data, size_t size) override;
  std::optional<std::string> AskSaveAsPath(const SaveAsRequest& request) override {
    saveAsAsked.push_back(request);
    return saveAsAnswer;
  }

  std::optional<int> osMajor = 6;
  std::optional<std::string> profile = std::string("C:\\users\\tester");
  LocalTime now{2024, 3, 9, 7, 5, 2};
  std::set<std::string> folders{"C:\\users\\tester"};
  std::set<std::string> refused;     // folders that cannot be created
  std::vector<std::string> created;  // in the order created
  std::map<std::string, std::vector<uint8_t>> files;
  bool writeFails = false;
  std::optional<std::string> saveAsAnswer;
  std::vector<SaveAsRequest> saveAsAsked;
};

}  // namespace pel::test
