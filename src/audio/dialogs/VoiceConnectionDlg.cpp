#include "audio/dialogs/VoiceConnectionDlg.h"

#include "audio/dialogs/DialogControls.h"
#include "res/StringTable.h"

namespace pel {

namespace {
constexpr const char* kRootUser = "root";
}  // namespace

void CVoiceConnectionDlg::SetFields(const VoiceDialogFields& fields) {
  fields_ = fields;
  data_.status = fields.status;
  data_.portCheck = fields.portCheck;
  data_.port = fields.udpPort;
}

CNvwVoiceCtrl& CVoiceConnectionDlg::Voice() {
  // Asked afresh each time: the pane destroys the component before this window when both go.
  voice_.Attach(pane_.VoiceControl());
  return voice_;
}

bool CVoiceConnectionDlg::OnInitDialog(IDialogView& view) {
  view_ = &view;
  closing_ = false;
  CNvwVoiceCtrl& voice = Voice();
  voice.SetBDialogInit(true);

  view.SetSliderRange(dlg::kIdSpeakerSlider, 0, voice.GetSpeakerLevelMax());
  view.SetSliderRange(dlg::kIdMicSlider, 0, voice.GetMicLevelMax());
  view.SetSliderTicFrequency(dlg::kIdSpeakerSlider, 0);
  view.SetSliderTicFrequency(dlg::kIdMicSlider, 0);
  view.SetSliderPosition(dlg::kIdSpeakerSlider, voice.GetSpeakerLevel());
  view.SetSliderPosition(dlg::kIdMicSlider, voice.GetMicLevel());
  view.EnableControl(kIdDisconnect, false);

  const bool limited = pane_.IsLimit() != 0;
  data_.radio = limited && fields_.user == kRootUser ? kListenAndSpeak : kListenOnly;
  view.EnableControl(kIdListenOnly, !limited);
  view.EnableControl(kIdListenAndSpeak, !limited);

  data_.port = fields_.udpPort;
  view.EnableControl(dlg::kIdPort, false);
  data_.Show(view);
  return true;
}

void CVoiceConnectionDlg::OnCommand(int id) {
  switch (id) {
    case kIdConnect: OnConnect(); break;
    case kIdDisconnect: OnDisconnect(); break;
    case kIdListenOnly: OnListenOnly(); break;
    case kIdListenAndSpeak: OnListenAndSpeak(); break;
    case dlg::kIdPortCheck: OnPortCheck(); break;
    case dlg::kIdOk: OnOK(); break;
    default: break;
  }
}

void CVoiceConnectionDlg::OnConnect() {
  if (view_ == nullptr) return;
  if (!ConnectionAllowed(pane_, fields_.serverAddress)) return;
  data_.Read(*view_);
  if (!dlg::IsDialogPort(data_.port)) {
    messages_.ShowMessage(LoadResString(IDS_AUDIO_BAD_PARAMETER));
    return;
  }
  CNvwVoiceCtrl& voice = Voice();
  voice.SetServerPort(data_.portCheck ? data_.port : fields_.udpPort);
  voice.SetUserName(fields_.user);
  voice.SetUserPassword(fields_.password);
  voice.SetServerAddress(fields_.serverAddress);
  ShowStatusNow(*view_, data_.status, dlg::kStatusConnecting);
  // The controls are locked before the component is asked: a component that reports its
  // outcome from inside Connect unlocks them again through the status event.
  view_->EnableControl(kIdConnect, false);
  view_->EnableControl(kIdDisconnect, true);
  view_->EnableControl(dlg::kIdPortCheck, false);
  view_->EnableControl(dlg::kIdPort, false);
  view_->EnableControl(kIdListenOnly, false);
  view_->EnableControl(kIdListenAndSpeak, false);
  voice.Connect();
}

void CVoiceConnectionDlg::OnDisconnect() {
  if (view_ == nullptr) return;
  ShowStatusNow(*view_, data_.status, dlg::kStatusDisconnecting);
  Voice().Disconnect();
}

void CVoiceConnectionDlg::OnListenOnly() {
  fields_.user.clear();
  fields_.password.clear();
}

void CVoiceConnectionDlg::OnListenAndSpeak() {
  fields_.user = kRootUser;
  fields_.password.clear();
}

void CVoiceConnectionDlg::OnPortCheck() {
  if (view_ == nullptr) return;
  data_.Read(*view_);
  view_->EnableControl(dlg::kIdPort, data_.portCheck);
  data_.port = fields_.udpPort;
  data_.Show(*view_);
}

void CVoiceConnectionDlg::OnSliderReleased(int id) {
  if (view_ == nullptr) return;
  const int position = view_->GetSliderPosition(id);
  if (id == dlg::kIdMicSlider) {
    Voice().SetMicLevel(position);
  } else if (id == dlg::kIdSpeakerSlider) {
    Voice().SetSpeakerLevel(position);
  }
}

void CVoiceConnectionDlg::OnOK() {
  if (view_ == nullptr) return;
  IDialogView* view = view_;
  OnDestroy();
  view->DestroyWindow();
}

void CVoiceConnectionDlg::OnDestroy() {
  if (view_ == nullptr) return;
  closing_ = true;
  OnDisconnect();
  view_ = nullptr;
}

}  // namespace pel
