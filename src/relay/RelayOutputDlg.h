#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ports/RelayDialogView.h"
#include "ports/RequestGate.h"
#include "ports/UserMessages.h"
#include "relay/RelayStatePage.h"
#include "res/DialogIds.h"

namespace pel {

// What the pane hands the relay dialog before it creates its window: the control's address,
// credentials and proxy, its module number (iSvrID), iNumDo and dwRelayRights.
struct RelayDialogSettings {
  std::string serverAddress;
  int32_t serverPort = 0;
  std::string tlsHost;  // the host a secure connection must verify; empty for plain http
  std::string proxyAddress;
  int32_t proxyPort = 0;
  int32_t moduleNumber = -1;
  std::string userId;
  std::string password;
  int32_t outputCount = 0;
  uint32_t rightsMask = 0;  // bit n allows output n+1
  IRequestGate* gate = nullptr;  // the control's site lock; null where there is none (tools)
};

// How the last read of the state page, or the last relay request, ended.
enum class RelayOutcome {
  kNone,           // nothing was asked yet
  kDone,           // read (or sent) with a success status
  kNoModule,       // the module number is negative: nothing was asked
  kRequestFailed,  // the request itself failed
  kStatusFailed,   // the answer's status was not a success
  kHeldBack,       // the site lock held the request back: nothing was sent or shown
  kRefused,        // policy refused credentials over plain http: nothing was sent
};

// The Relay Output Control dialog: one check box per relay output, named and
// ticked from the relay state page when its window opens; every click sends the whole output
// state word at once.
//
// The boxes stay disabled until a read of the state page has succeeded: the state word is
// only sent back once it is known, so that a click never switches off outputs that are on.
class CRelayOutputDlg {
 public:
  static constexpr int kTemplateId = IDD_RELAY_OUTPUT;
  static constexpr int kFirstBoxId = IDC_DO1;  // IDC_DO1..IDC_DO6 are outputs 1..6

  explicit CRelayOutputDlg(IUserMessages& messages) : messages_(messages) {}
  CRelayOutputDlg(const CRelayOutputDlg&) = delete;
  CRelayOutputDlg& operator=(const CRelayOutputDlg&) = delete;

  void SetSettings(const RelayDialogSettings& settings) { settings_ = settings; }
  const RelayDialogSettings& settings() const { return settings_; }

  // The window's initialisation, with the window's view: ReadRelayState.
  bool OnInitDialog(IRelayDialogView& view);
  // A command from control `id`: a click on box 203..208 sends the state.
  void OnCommand(int id);
  // OK and the close command destroy the window.
  void OnOK() { CloseWindow(); }
  void OnClose() { CloseWindow(); }
  bool HasWindow() const { return view_ != nullptr; }

  // Reads the relay state page into the boxes. True after a successful read.
  bool ReadRelayState();
  // Reads the boxes into the state word and sends it.
  void SendRelayState();

  uint32_t dwDoData() const { return dwDoData_; }
  const std::array<int32_t, kRelayOutputs>& checks() const { return checks_; }
  RelayOutcome readOutcome() const { return readOutcome_; }
  RelayOutcome sendOutcome() const { return sendOutcome_; }

 private:
  void ShowChecks();
  void DisableAllBoxes();
  void ReadFailed(RelayOutcome outcome);
  void CloseWindow();
  // Whether the request may go; when policy refuses it, its message is shown and the outcome
  // is kRefused.
  bool RequestAllowed(RelayOutcome& refusal) const;
  // Shows the message of a failed request: the secure connection's own, or `fallback`.
  void ShowRequestFailure(int result, const std::string& fallback);

  IUserMessages& messages_;
  IRelayDialogView* view_ = nullptr;
  RelayDialogSettings settings_;
  std::array<int32_t, kRelayOutputs> checks_{};
  uint32_t dwDoData_ = 0;
  bool stateKnown_ = false;
  RelayOutcome readOutcome_ = RelayOutcome::kNone;
  RelayOutcome sendOutcome_ = RelayOutcome::kNone;
};

}  // namespace pel
