#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ports/PaneDialogs.h"

namespace pel {
class IDialogPane;
class IUserMessages;
}  // namespace pel

namespace pel::win {

// The operation pane's dialogs as windows made from their templates: Audio Connection (271),
// Voice Connection (211) and Relay Output Control (213) modeless with the pane as parent, the
// Download dialog (270) modal. The dialog objects live as long as this; their windows come and
// go.
class WinPaneDialogs final : public IPaneDialogs {
 public:
  // `paneWindow` gives the pane's window (the dialogs' parent) when a dialog opens; `pane` is
  // what the audio and voice dialogs use of the pane and the viewer.
  WinPaneDialogs(std::function<HWND()> paneWindow, IUserMessages& messages, IDialogPane& pane);
  ~WinPaneDialogs() override;
  WinPaneDialogs(const WinPaneDialogs&) = delete;
  WinPaneDialogs& operator=(const WinPaneDialogs&) = delete;

  bool IsWindowOpen(const std::string& title) override;
  void OpenAudioConnection(const AudioDialogFields& fields) override;
  void OpenVoiceConnection(const VoiceDialogFields& fields) override;
  void ShowDownload(int32_t value) override;
  void VoiceStatus(int32_t code, int32_t detail) override;
  void OpenRelayOutput(CRelayOutputDlg& dialog) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pel::win
