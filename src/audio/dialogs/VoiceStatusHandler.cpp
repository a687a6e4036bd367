// The operation pane's handler of the voice component's status event (event 1), acting on
// the Voice Connection dialog.
#include <string>

#include "audio/dialogs/DialogControls.h"
#include "audio/dialogs/VoiceConnectionDlg.h"
#include "res/StringTable.h"

namespace pel {

namespace {

// What the component's last status code before a failure means.
constexpr int32_t kCodeChannelsFull = 5;
constexpr int32_t kCodeBadLogin = 9;
constexpr int32_t kCodeNoPermission = 10;
constexpr const char* kChannelsFull = "All channel is full.";
constexpr const char* kBadLogin = "Wrong ID or Password.";
constexpr const char* kNoPermission = "Permission is denied.";
constexpr const char* kDeviceLink = "Problem between K20m and Kelvanter. Check COM or AUX.";

std::string FailureText(int32_t lastCode, int32_t detail) {
  switch (lastCode) {
    case -1: return LoadResString(IDS_AUDIO_UNDEFINED_ERROR);
    case kCodeChannelsFull: return kChannelsFull;
    case kCodeBadLogin: return kBadLogin;
    case kCodeNoPermission: return kNoPermission;
    default: return detail == 1 ? kDeviceLink : LoadResString(IDS_AUDIO_NETWORK_PROBLEM);
  }
}

}  // namespace

void CVoiceConnectionDlg::ShowEnded() {
  data_.status = dlg::kStatusDisconnected;
  data_.Show(*view_);
  view_->EnableControl(kIdDisconnect, false);
  view_->EnableControl(kIdConnect, true);
  view_->EnableControl(dlg::kIdPortCheck, true);
  view_->EnableControl(dlg::kIdPort, data_.portCheck);
  const bool free = pane_.IsLimit() == 0;
  view_->EnableControl(kIdListenOnly, free);
  view_->EnableControl(kIdListenAndSpeak, free);
  data_.Show(*view_);
}

void CVoiceConnectionDlg::OnVoiceStatus(int32_t code, int32_t detail) {
  // A dialog without a window has nothing to show; one being destroyed wants no news.
  if (closing_ || view_ == nullptr) return;
  if (code == kStatusEnded) {
    ShowEnded();
  } else if (code == kStatusFailed) {
    ShowEnded();
    messages_.ShowMessage(FailureText(lastCode_, detail));
    if (view_ != nullptr) data_.Show(*view_);
  } else {
    data_.status = dlg::kStatusConnected;
    lastCode_ = code;
    data_.Show(*view_);
  }
}

}  // namespace pel
