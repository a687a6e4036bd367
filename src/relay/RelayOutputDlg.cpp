#include "relay/RelayOutputDlg.h"

#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "net/HttpStatus.h"
#include "net/TlsFailureText.h"
#include "relay/SetRelayOutputs.h"
#include "res/StringTable.h"

namespace pel {

namespace {
bool Bit(uint32_t word, int n) { return ((word >> n) & 1u) != 0; }
}  // namespace

bool CRelayOutputDlg::OnInitDialog(IRelayDialogView& view) {
  view_ = &view;
  return ReadRelayState();
}

void CRelayOutputDlg::OnCommand(int id) {
  if (id >= kFirstBoxId && id < kFirstBoxId + kRelayOutputs) SendRelayState();
}

void CRelayOutputDlg::CloseWindow() {
  if (view_ != nullptr) view_->DestroyWindow();
  view_ = nullptr;
  stateKnown_ = false;
}

bool CRelayOutputDlg::RequestAllowed(RelayOutcome& refusal) const {
  refusal = RelayOutcome::kHeldBack;
  if (settings_.gate != nullptr &&
      !settings_.gate->AllowRequest(settings_.serverAddress, settings_.proxyAddress)) {
    return false;
  }
  if (RefusesCredentialsOverPlainHttp(settings_.gate, settings_.userId, settings_.password,
                                      settings_.tlsHost)) {
    messages_.ShowMessage(
        FormatResString(IDS_PLAIN_CREDENTIALS_REFUSED, settings_.serverAddress.c_str()));
    refusal = RelayOutcome::kRefused;
    return false;
  }
  return true;
}

void CRelayOutputDlg::ShowRequestFailure(int result, const std::string& fallback) {
  const std::string tlsText = TlsFailureText(result, settings_.tlsHost);
  messages_.ShowMessage(!tlsText.empty() ? tlsText : fallback);
}

void CRelayOutputDlg::ShowChecks() {
  if (view_ == nullptr) return;
  for (int n = 0; n < kRelayOutputs; ++n) view_->SetBoxCheck(n, checks_[static_cast<size_t>(n)]);
}

void CRelayOutputDlg::DisableAllBoxes() {
  if (view_ == nullptr) return;
  for (int n = 0; n < kRelayOutputs; ++n) view_->EnableBox(n, false);
}

void CRelayOutputDlg::ReadFailed(RelayOutcome outcome) {
  // Boxes that showed the states of an earlier opening would tell the user something the
  // server did not say.
  dwDoData_ = 0;
  checks_.fill(0);
  ShowChecks();
  readOutcome_ = outcome;
}

bool CRelayOutputDlg::ReadRelayState() {
  stateKnown_ = false;
  ShowChecks();
  DisableAllBoxes();
  if (settings_.moduleNumber < 0) {
    messages_.ShowMessage(LoadResString(IDS_MODULE_ID_INIT_FAILED));
    ReadFailed(RelayOutcome::kNoModule);
    return false;
  }
  if (view_ != nullptr) {
    for (int n = 0; n < kRelayOutputs; ++n) view_->ShowBox(n, settings_.outputCount >= n + 1);
  }

  RelayOutcome refusal = RelayOutcome::kNone;
  if (!RequestAllowed(refusal)) {
    ReadFailed(refusal);
    return false;
  }
  const std::string path = RelayStatePath(settings_.moduleNumber);
  std::vector<char> buffer(kRelayBufferSize, '\0');
  const int result = HttpGet(path.c_str(), settings_.serverAddress.c_str(),
                             static_cast<unsigned short>(settings_.serverPort),
                             settings_.userId.c_str(), settings_.password.c_str(), buffer.data(),
                             static_cast<int>(buffer.size()), settings_.proxyAddress.c_str(),
                             static_cast<unsigned short>(settings_.proxyPort),
                             settings_.tlsHost.c_str());
  if (result < 0) {
    ShowRequestFailure(result, FormatResString(IDS_GETASPWP_READ_FAILED, path.c_str()));
    ReadFailed(RelayOutcome::kRequestFailed);
    return false;
  }
  const size_t received = static_cast<size_t>(result);
  if (CheckHttpStatus(messages_, path.c_str(), ReadHttpStatusCode(buffer.data(), received)) == 0) {
    ReadFailed(RelayOutcome::kStatusFailed);
    return false;
  }

  const RelayStateValues values = ParseRelayStatePage(PageText(buffer.data(), received));
  dwDoData_ = values.dwDoData;
  for (int n = 0; n < kRelayOutputs; ++n) {
    const auto& name = values.names[static_cast<size_t>(n)];
    if (name && view_ != nullptr) view_->SetBoxText(n, *name);
    checks_[static_cast<size_t>(n)] = Bit(dwDoData_, n) ? 1 : 0;
  }
  ShowChecks();
  if (view_ != nullptr) {
    for (int n = 0; n < kRelayOutputs; ++n) view_->EnableBox(n, Bit(settings_.rightsMask, n));
  }
  stateKnown_ = true;
  readOutcome_ = RelayOutcome::kDone;
  return true;
}

void CRelayOutputDlg::SendRelayState() {
  if (!stateKnown_ || view_ == nullptr) return;
  for (int n = 0; n < kRelayOutputs; ++n) {
    const int32_t check = view_->GetBoxCheck(n) != 0 ? 1 : 0;
    checks_[static_cast<size_t>(n)] = check;
    dwDoData_ = (dwDoData_ & ~(1u << n)) | (static_cast<uint32_t>(check) << n);
  }

  RelayOutcome refusal = RelayOutcome::kNone;
  if (!RequestAllowed(refusal)) {
    sendOutcome_ = refusal;
    return;
  }
  std::vector<char> buffer(kRelayBufferSize, '\0');
  const int result = SetRelayOutputs(
      settings_.moduleNumber, settings_.serverAddress.c_str(), settings_.serverPort,
      static_cast<uint8_t>(dwDoData_ & 0xFFu), settings_.userId.c_str(),
      settings_.password.c_str(), buffer.data(), static_cast<int>(buffer.size()),
      settings_.proxyAddress.c_str(), settings_.proxyPort, settings_.tlsHost.c_str());
  if (result <= 0) {
    ShowRequestFailure(result, LoadResString(IDS_KVDOCTRCGIWP_READ_FAILED));
    sendOutcome_ = RelayOutcome::kRequestFailed;
    return;
  }
  const int status = ReadHttpStatusCode(buffer.data(), static_cast<size_t>(result));
  sendOutcome_ = CheckHttpStatus(messages_, kRelayRequestPageName, status) != 0
                     ? RelayOutcome::kDone
                     : RelayOutcome::kStatusFailed;
}

}  // namespace pel
