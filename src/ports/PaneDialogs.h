#pragma once

#include <cstdint>
#include <string>

namespace pel {

class CPelioranOperPane;
class CRelayOutputDlg;

// What the Audio Connection dialog (template 271) gets when the Voice button opens it.
struct AudioDialogFields {
  CPelioranOperPane* pane = nullptr;
  std::string status;           // empty
  bool portCheck = false;       // off
  std::string serverAddress;    // the control's strIpAddr
  int32_t udpPort = 0;          // the pane's iUdpPort
  int32_t deviceType = 0;       // iAudioDeviceType: 1, 2 or 9
  std::string user;
  std::string password;
};

// What the Voice Connection dialog (template 211) gets.
struct VoiceDialogFields {
  CPelioranOperPane* pane = nullptr;
  std::string status;
  bool portCheck = false;
  std::string serverAddress;
  int32_t udpPort = 0;
  std::string user;
  std::string password;
};

// The pane's dialogs. The implementation holds the Voice Connection and Audio Connection
// dialog objects for as long as the pane lives (the pane's relay dialog object is its own
// member); each "Open" refills the dialog object with the fields, creates its window modeless
// from its template with the pane as parent, places it at (0, 0) without resizing and shows
// it.
class IPaneDialogs {
 public:
  static constexpr const char* kVoiceTitle = "Voice Connection";
  static constexpr const char* kAudioTitle = "Audio Connection";
  static constexpr const char* kRelayTitle = "Relay Output Control";

  virtual ~IPaneDialogs() = default;

  // Whether a window with exactly this title exists (a dialog already open, or closed with
  // Escape and only hidden).
  virtual bool IsWindowOpen(const std::string& title) = 0;

  virtual void OpenAudioConnection(const AudioDialogFields& fields) = 0;
  virtual void OpenVoiceConnection(const VoiceDialogFields& fields) = 0;
  // Shows the Download dialog (template 270) modally, handing it `value`.
  virtual void ShowDownload(int32_t value) = 0;
  // The voice component's status event (event 1: code, detail), which the pane's event sink
  // receives: handed to the Voice Connection dialog object (CVoiceConnectionDlg::OnVoiceStatus).
  virtual void VoiceStatus(int32_t code, int32_t detail) {
    (void)code;
    (void)detail;
  }
  // Creates the window of the relay dialog (template 213); when the window initialises it
  // calls dialog.OnInitDialog with the window's view.
  virtual void OpenRelayOutput(CRelayOutputDlg& dialog) = 0;
};

}  // namespace pel
