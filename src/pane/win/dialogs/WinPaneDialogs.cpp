#include "pane/win/dialogs/WinPaneDialogs.h"

#include "audio/dialogs/AudioConnectionDlg.h"
#include "audio/dialogs/VoiceConnectionDlg.h"
#include "audio/dialogs/VoiceKitDownloadDlg.h"
#include "audio/win/WinWaveDevices.h"
#include "pane/win/dialogs/DialogHandlers.h"
#include "pane/win/dialogs/DownloadDialog.h"
#include "pane/win/dialogs/ModelessDialog.h"
#include "pane/win/dialogs/PaneWindowWatch.h"
#include "pane/win/dialogs/WinProcessStarter.h"
#include "relay/RelayOutputDlg.h"

namespace pel::win {

struct WinPaneDialogs::Impl {
  Impl(std::function<HWND()> paneWindow, IUserMessages& messages, IDialogPane& pane)
      : paneWindow(std::move(paneWindow)),
        messages(messages),
        audio(messages, devices, pane),
        voice(messages, pane) {}

  // The pane's window, watched from now on so that the dialogs go when it goes.
  HWND Parent() {
    const HWND pane = paneWindow ? paneWindow() : nullptr;
    paneWatch.Watch(pane);
    return pane;
  }
  void DestroyWindows() {
    audioWindow.Destroy();
    voiceWindow.Destroy();
    relayWindow.Destroy();
  }

  std::function<HWND()> paneWindow;
  IUserMessages& messages;
  WinWaveDevices devices;
  WinProcessStarter processes;
  CAudioConnectionDlg audio;
  CVoiceConnectionDlg voice;
  ConnectionDialogHandler<CAudioConnectionDlg> audioHandler{audio};
  ConnectionDialogHandler<CVoiceConnectionDlg> voiceHandler{voice};
  RelayDialogHandler relayHandler;
  // Last, so that they go first: a window still open reports its destruction to a dialog
  // object that is still there.
  ModelessDialog audioWindow;
  ModelessDialog voiceWindow;
  ModelessDialog relayWindow;
  // While the pane's window and everything behind it are still whole.
  PaneWindowWatch paneWatch{[this] { DestroyWindows(); }};
};

WinPaneDialogs::WinPaneDialogs(std::function<HWND()> paneWindow, IUserMessages& messages,
                               IDialogPane& pane)
    : impl_(std::make_unique<Impl>(std::move(paneWindow), messages, pane)) {}

WinPaneDialogs::~WinPaneDialogs() = default;

bool WinPaneDialogs::IsWindowOpen(const std::string& title) {
  return FindWindowA(nullptr, title.c_str()) != nullptr;
}

void WinPaneDialogs::OpenAudioConnection(const AudioDialogFields& fields) {
  if (impl_->audioWindow.IsOpen()) return;
  impl_->audio.SetFields(fields);
  impl_->audioWindow.Open(CAudioConnectionDlg::kTemplateId, impl_->Parent(), impl_->audioHandler);
}

void WinPaneDialogs::OpenVoiceConnection(const VoiceDialogFields& fields) {
  if (impl_->voiceWindow.IsOpen()) return;
  impl_->voice.SetFields(fields);
  impl_->voiceWindow.Open(CVoiceConnectionDlg::kTemplateId, impl_->Parent(), impl_->voiceHandler);
}

void WinPaneDialogs::ShowDownload(int32_t value) {
  CVoiceKitDownloadDlg dialog(impl_->messages, impl_->processes, value);
  RunDownloadDialog(dialog, impl_->Parent());
}

void WinPaneDialogs::VoiceStatus(int32_t code, int32_t detail) {
  impl_->voice.OnVoiceStatus(code, detail);
}

void WinPaneDialogs::OpenRelayOutput(CRelayOutputDlg& dialog) {
  if (impl_->relayWindow.IsOpen()) return;
  impl_->relayHandler.SetDialog(dialog);
  impl_->relayWindow.Open(CRelayOutputDlg::kTemplateId, impl_->Parent(), impl_->relayHandler);
}

}  // namespace pel::win
