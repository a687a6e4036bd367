#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "ports/PaneDialogs.h"
#include "ports/PaneView.h"
#include "ports/SkinWindows.h"
#include "ports/SnapshotSystem.h"

namespace pel::probe {

// The operation pane's window without a screen: the controls exist without windows of their
// own (the pane's models hold their state), the panel is the probe's recording component, and
// where the pane puts and shows each control is kept.
class HeadlessPaneView : public IPaneView, private ISkinImageSource {
 public:
  struct Control {
    bool shown = true;  // the controls are made visible
    bool enabled = true;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };

  explicit HeadlessPaneView(IDispatchPort& panel) : panel_(panel) {}

  bool CreateButton(int, int, CSkinButton&) override { return true; }
  bool CreateComboBox(int, int, const ChildRect&, CSkinComboBox&) override { return true; }
  ISkinImageSource& SkinImages() override { return *this; }
  IDispatchPort* CreatePanel(int) override { return &panel_; }
  bool LoadBackground(int, int, int) override { return true; }
  void MoveControl(int control, int x, int y, int width, int height) override;
  void ShowControl(int control, bool show) override;
  void EnableControl(int control, bool enable) override;
  void ResizePane(int, int) override {}
  // The voice component is not installed here.
  IDispatchPort* CreateVoiceControl(int) override { return nullptr; }
  void DestroyVoiceControl() override {}

  // Control `control` (PaneControl), or nothing for a number that names none.
  std::optional<Control> control(int control) const;
  // "CAM", "Cam1", "module list", "serial/PTZ panel", ... ("" for a number that names none).
  static std::string ControlName(int control);

 private:
  // No skin bitmaps: the buttons work without images.
  std::optional<BitmapSize> Size(int) override { return std::nullopt; }
  std::unique_ptr<ISkinImage> Cut(int, const PixelRect&) override { return nullptr; }

  IDispatchPort& panel_;
  std::array<Control, kPaneControlCount> controls_{};
};

// The pane's dialogs: none is open, and none opens during a start.
class NoPaneDialogs : public IPaneDialogs {
 public:
  bool IsWindowOpen(const std::string&) override { return false; }
  void OpenAudioConnection(const AudioDialogFields&) override {}
  void OpenVoiceConnection(const VoiceDialogFields&) override {}
  void ShowDownload(int32_t) override {}
  void OpenRelayOutput(CRelayOutputDlg&) override {}
};

// The snapshot services, which a start does not use: no profile folder, nothing written.
class NoSnapshotSystem : public ISnapshotSystem {
 public:
  std::optional<int> OsMajorVersion() override { return std::nullopt; }
  std::optional<std::string> ProfileFolder() override { return std::nullopt; }
  LocalTime Now() override { return LocalTime{}; }
  bool FolderExists(const std::string&) override { return false; }
  bool CreateFolder(const std::string&) override { return false; }
  bool WriteNewFile(const std::string&, const uint8_t*, size_t) override { return false; }
  std::optional<std::string> AskSaveAsPath(const SaveAsRequest&) override { return std::nullopt; }
};

}  // namespace pel::probe
