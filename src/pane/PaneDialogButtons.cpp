#include "control/PelioranCtrl.h"
#include "pane/PelioranOperPane.h"
#include "res/StringTable.h"

namespace pel {

namespace {
// Audio devices the Audio Connection dialog serves; 0 is the voice kit.
bool IsAudioDevice(int32_t type) { return type == 1 || type == 2 || type == 9; }
constexpr int32_t kVoiceKit = 0;
// What the Download dialog is handed.
constexpr int32_t kDownloadValue = 30;
}  // namespace

CPelioranOperPane::Handled CPelioranOperPane::ReleaseVoice() {
  IPaneDialogs& dialogs = ports_.dialogs;
  if (dialogs.IsWindowOpen(IPaneDialogs::kVoiceTitle) ||
      dialogs.IsWindowOpen(IPaneDialogs::kAudioTitle)) {
    return Handled::kStopped;
  }
  const ControlProperties& props = ctrl_->Properties();
  const int32_t type = ctrl_->iAudioDeviceType();
  const bool ownCredentials = serverFields_.iIsLimit == 1;

  if (IsAudioDevice(type)) {
    if (ctrl_->Module().dwAudioRights == 0 ||
        !(props.strUserID.empty() || props.strUserID == "root")) {
      Message(IDS_NO_PERMISSION);
      return Handled::kStopped;
    }
    AudioDialogFields fields;
    fields.pane = this;
    fields.serverAddress = props.strIpAddr;
    fields.udpPort = serverFields_.iUdpPort;
    fields.deviceType = type;
    fields.user = ownCredentials ? props.strUserID : "root";
    fields.password = ownCredentials ? props.strUserPWD : "";
    dialogs.OpenAudioConnection(fields);
  } else if (type == kVoiceKit) {
    if (ctrl_->Module().dwAudioRights == 0) {
      Message(IDS_NO_PERMISSION);
      return Handled::kStopped;
    }
    if (ctrl_->bVoiceSerial() == 0) {
      Message(IDS_VOICE_NOT_INSTALLED);
      return Handled::kStopped;
    }
    if (voiceControl_ == nullptr) voiceControl_ = ports_.view.CreateVoiceControl(pane::kVoiceControlId);
    if (voiceControl_ == nullptr) {
      dialogs.ShowDownload(kDownloadValue);
      return Handled::kStopped;
    }
    VoiceDialogFields fields;
    fields.pane = this;
    fields.serverAddress = props.strIpAddr;
    fields.udpPort = serverFields_.iUdpPort;
    fields.user = ownCredentials ? props.strUserID : "";
    fields.password = ownCredentials ? props.strUserPWD : "";
    dialogs.OpenVoiceConnection(fields);
  } else {
    Message(IDS_UNKNOWN_VOICE_DEVICE);
    return Handled::kStopped;
  }
  Button(kButtonVoice).SetState(kButtonNormal);
  return Handled::kDone;
}

CPelioranOperPane::Handled CPelioranOperPane::ReleaseRelay() {
  if (ctrl_->Module().dwRelayRights == 0) {
    Message(IDS_NO_PERMISSION);
    return Handled::kStopped;
  }
  if (ports_.dialogs.IsWindowOpen(IPaneDialogs::kRelayTitle)) return Handled::kStopped;
  const ControlProperties& props = ctrl_->Properties();
  RelayDialogSettings settings;
  settings.moduleNumber = props.iSvrID;
  settings.serverAddress = props.strIpAddr;
  settings.serverPort = props.iHttpPort;
  settings.tlsHost = ServerTlsHost(props);
  settings.userId = props.strUserID;
  settings.password = props.strUserPWD;
  settings.proxyAddress = props.strIpAddrProxy;
  settings.proxyPort = props.iHttpPortProxy;
  settings.outputCount = ctrl_->iNumDo();
  settings.rightsMask = ctrl_->Module().dwRelayRights;
  settings.gate = &ctrl_->RequestGate();
  relayDialog_.SetSettings(settings);
  ports_.dialogs.OpenRelayOutput(relayDialog_);
  Button(kButtonRelay).SetState(kButtonNormal);
  return Handled::kDone;
}

}  // namespace pel
