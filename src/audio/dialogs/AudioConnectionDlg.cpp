#include "audio/dialogs/AudioConnectionDlg.h"

#include "audio/AudioResult.h"
#include "audio/codec/AudioCodec.h"
#include "audio/dialogs/AudioResultMessage.h"
#include "audio/dialogs/DialogControls.h"
#include "res/StringTable.h"

namespace pel {

namespace {
bool IsAudioMode(int32_t type) {
  return type == kAudioModeIma || type == kAudioModeG726 || type == kAudioModeMuLaw;
}
}  // namespace

CAudioConnectionDlg::CAudioConnectionDlg(IUserMessages& messages, IWaveDevices& devices,
                                         IDialogPane& pane, IRetryPause& pause,
                                         IMillisecondClock& clock)
    : messages_(messages), pane_(pane), volume_(devices, pause), recorder_(devices, pause, clock) {}

void CAudioConnectionDlg::SetFields(const AudioDialogFields& fields) {
  fields_ = fields;
  data_.status = fields.status;
  data_.portCheck = fields.portCheck;
  data_.port = fields.udpPort;
}

bool CAudioConnectionDlg::OnInitDialog(IAudioDialogView& view) {
  view_ = &view;
  view.SetSliderRange(dlg::kIdSpeakerSlider, 0, kSliderMax);
  view.SetSliderRange(dlg::kIdMicSlider, 0, kSliderMax);
  view.SetSliderPosition(dlg::kIdSpeakerSlider, volume_.GetVolume());
  view.SetSliderPosition(dlg::kIdMicSlider, recorder_.GetMicLevel());
  view.EnableControl(kIdDisconnect, false);
  view.EnableControl(dlg::kIdPort, false);
  data_.Show(view);
  return true;
}

void CAudioConnectionDlg::OnCommand(int id) {
  switch (id) {
    case kIdConnect: OnConnect(); break;
    case kIdDisconnect: OnDisconnect(); break;
    case dlg::kIdOk: OnOK(); break;
    case dlg::kIdPortCheck: OnPortCheck(); break;
    default: break;
  }
}

void CAudioConnectionDlg::Fail(int result) {
  lastResult_ = result;
  data_.status = dlg::kStatusDisconnected;
  if (view_ != nullptr) data_.Show(*view_);
  messages_.ShowMessage(LoadResString(AudioResultStringId(result)));
}

void CAudioConnectionDlg::EnableConnected(bool connected) {
  view_->EnableControl(kIdConnect, !connected);
  view_->EnableControl(kIdDisconnect, connected);
  view_->EnableControl(kIdTcp, !connected);
  view_->EnableControl(kIdUdp, !connected);
}

void CAudioConnectionDlg::OnConnect() {
  if (view_ == nullptr) return;
  // Held back by the site lock: the dialog stays as it is, and nothing is sent.
  if (!ConnectionAllowed(pane_, fields_.serverAddress)) return;
  ShowStatusNow(*view_, data_.status, dlg::kStatusConnecting);
  data_.Read(*view_);

  if (!dlg::IsDialogPort(data_.port)) return Fail(AUDIO_BAD_PARAMETER);
  if (!IsAudioMode(fields_.deviceType)) return Fail(AUDIO_NOT_OPEN);
  const bool udp = data_.radio == kReceiveUdp;
  recorder_.SetPlayback(udp);
  int result = recorder_.Open(view_->NotificationOwner(), fields_.deviceType);
  if (result != AUDIO_OK) return Fail(result);

  const int32_t camera = pane_.GetSelectedCamera();
  const int32_t server = pane_.GetServerId();
  if (camera < 0 || server < 0) {
    // Without a control there is nothing to connect to; the capture must not run on. No
    // message: none of the audio messages is true here ("Check port" would send the user to
    // a port that is fine), so the dialog only ends disconnected.
    recorder_.Close();
    data_.status = dlg::kStatusDisconnected;
    data_.Show(*view_);
    return;
  }
  if (recorder_.IsOpen()) recorder_.Disconnect();
  result = recorder_.Connect(fields_.serverAddress.c_str(), data_.port, server, camera - 1,
                             fields_.user.c_str(), fields_.password.c_str());
  if (result != AUDIO_OK) {
    recorder_.Close();
    return Fail(result);
  }
  lastResult_ = result;
  if (udp) pane_.EnableStreamAudio(0);
  EnableConnected(true);
  data_.status = dlg::kStatusConnected;
  data_.Show(*view_);
}

void CAudioConnectionDlg::EndConnection() {
  if (recorder_.IsOpen()) {
    recorder_.Disconnect();
    recorder_.Close();
  }
}

void CAudioConnectionDlg::OnDisconnect() {
  if (view_ == nullptr) return;
  data_.Read(*view_);
  ShowStatusNow(*view_, data_.status, dlg::kStatusDisconnecting);
  EndConnection();
  if (data_.radio == kReceiveUdp) pane_.EnableStreamAudio(1);
  EnableConnected(false);
  data_.status = dlg::kStatusDisconnected;
  data_.Show(*view_);
}

void CAudioConnectionDlg::OnOK() {
  if (view_ == nullptr) return;
  OnDisconnect();
  IAudioDialogView* view = view_;
  view_ = nullptr;
  view->DestroyWindow();
}

void CAudioConnectionDlg::OnDestroy() {
  if (view_ == nullptr) return;
  view_ = nullptr;
  // The control and its viewer are going too: only the connection and the capture end, and
  // without the host's window thread waiting for a server or a device.
  recorder_.Abandon();
}

void CAudioConnectionDlg::OnPortCheck() {
  if (view_ == nullptr) return;
  data_.Read(*view_);
  if (!data_.portCheck) data_.port = fields_.udpPort;
  view_->EnableControl(dlg::kIdPort, data_.portCheck);
  data_.Show(*view_);
}

void CAudioConnectionDlg::OnSliderReleased(int id) {
  if (view_ == nullptr) return;
  const int position = view_->GetSliderPosition(id);
  if (id == dlg::kIdMicSlider) {
    recorder_.SetMicLevel(position);
  } else if (id == dlg::kIdSpeakerSlider) {
    volume_.SetVolume(position);
  }
}

}  // namespace pel
