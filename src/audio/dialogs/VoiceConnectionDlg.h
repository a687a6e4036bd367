#pragma once

#include <cstdint>

#include "audio/dialogs/ConnectionDialogData.h"
#include "audio/dialogs/DialogPane.h"
#include "hosted/NvwVoiceCtrl.h"
#include "ports/DialogView.h"
#include "ports/PaneDialogs.h"
#include "ports/UserMessages.h"
#include "res/DialogIds.h"

namespace pel {

// The Voice Connection dialog, for the voice kit (audio device type 0): it
// hands the connection settings to the hosted voice component and asks it to connect or
// disconnect. The outcome arrives later through the component's status event, which the pane
// passes to OnVoiceStatus.
class CVoiceConnectionDlg {
 public:
  static constexpr int kTemplateId = IDD_VOICE_CONNECTION;
  static constexpr int kIdConnect = IDC_VOICE_CONNECT;
  static constexpr int kIdDisconnect = IDC_VOICE_DISCONNECT;
  static constexpr int kIdListenOnly = IDC_LISTEN_ONLY;  // listen-mode radio group: 0, 1
  static constexpr int kIdListenAndSpeak = IDC_LISTEN_SPEAK;
  static constexpr int kListenOnly = 0;
  static constexpr int kListenAndSpeak = 1;
  // Status codes of the component's event 1.
  static constexpr int32_t kStatusEnded = 7;
  static constexpr int32_t kStatusFailed = 8;

  CVoiceConnectionDlg(IUserMessages& messages, IDialogPane& pane)
      : messages_(messages), pane_(pane) {}
  CVoiceConnectionDlg(const CVoiceConnectionDlg&) = delete;
  CVoiceConnectionDlg& operator=(const CVoiceConnectionDlg&) = delete;

  // What the pane hands over before it creates the window.
  void SetFields(const VoiceDialogFields& fields);

  // WM_INITDIALOG, with the window's view; drives the pane's voice component.
  bool OnInitDialog(IDialogView& view);
  // A command from control `id`.
  void OnCommand(int id);
  void OnConnect();
  void OnDisconnect();
  void OnListenOnly();
  void OnListenAndSpeak();
  void OnPortCheck();
  void OnSliderReleased(int id);
  // EXIT and the close command destroy the window.
  void OnOK();
  void OnClose() { OnOK(); }
  // WM_DESTROY: from now on status events are ignored; the component is told to disconnect.
  void OnDestroy();

  // The pane's voice status handler: the component's event 1 (code, detail).
  void OnVoiceStatus(int32_t code, int32_t detail);

  bool HasWindow() const { return view_ != nullptr; }
  bool closing() const { return closing_; }
  int32_t lastCode() const { return lastCode_; }
  const VoiceDialogFields& fields() const { return fields_; }
  const ConnectionDialogData& data() const { return data_; }

 private:
  void ShowEnded();
  CNvwVoiceCtrl& Voice();

  IUserMessages& messages_;
  IDialogPane& pane_;
  IDialogView* view_ = nullptr;
  CNvwVoiceCtrl voice_;
  VoiceDialogFields fields_;
  bool closing_ = false;
  int32_t lastCode_ = -1;
  ConnectionDialogData data_{kIdListenOnly};
};

}  // namespace pel
