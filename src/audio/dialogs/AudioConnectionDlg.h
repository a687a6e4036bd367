#pragma once

#include <cstdint>

#include "audio/AudioPlayer.h"
#include "audio/AudioRecorder.h"
#include "audio/dialogs/ConnectionDialogData.h"
#include "audio/dialogs/DialogPane.h"
#include "ports/Clock.h"
#include "ports/DialogView.h"
#include "ports/PaneDialogs.h"
#include "ports/UserMessages.h"
#include "ports/WaveDevices.h"
#include "res/DialogIds.h"

namespace pel {

// The Audio Connection dialog: the system's own audio connection to the
// server's audio port, for audio device types 1, 2 and 9. Connect opens the recorder and logs
// in; in UDP receive mode the connection also plays the server's audio and the viewer's
// stream audio is off meanwhile. Every failure ends with the status "Disconnected" and a
// message box chosen by the audio result code.
//
// The object lives as long as the pane; its window comes and goes. The receive mode, the
// recorder and the volume player keep their state between openings.
class CAudioConnectionDlg {
 public:
  static constexpr int kTemplateId = IDD_AUDIO_CONNECTION;
  static constexpr int kIdConnect = IDC_AUDIO_CONNECT;
  static constexpr int kIdDisconnect = IDC_AUDIO_DISCONNECT;
  static constexpr int kIdTcp = IDC_RX_TCP;  // receive-mode radio group: 0 TCP, 1 UDP
  static constexpr int kIdUdp = IDC_RX_UDP;
  static constexpr int kReceiveTcp = 0;
  static constexpr int kReceiveUdp = 1;
  static constexpr int kSliderMax = 65535;

  CAudioConnectionDlg(IUserMessages& messages, IWaveDevices& devices, IDialogPane& pane,
                      IRetryPause& pause = DefaultRetryPause(),
                      IMillisecondClock& clock = DefaultMillisecondClock());
  CAudioConnectionDlg(const CAudioConnectionDlg&) = delete;
  CAudioConnectionDlg& operator=(const CAudioConnectionDlg&) = delete;

  // What the pane hands over before it creates the window.
  void SetFields(const AudioDialogFields& fields);

  // WM_INITDIALOG, with the window's view: slider ranges and positions, Disconnect and the
  // port edit disabled, the fields shown.
  bool OnInitDialog(IAudioDialogView& view);
  // A command from control `id` (Connect, Disconnect, EXIT, Port check).
  void OnCommand(int id);
  void OnConnect();
  void OnDisconnect();
  // EXIT and the window's close command: the Disconnect steps, then the window goes.
  void OnOK();
  void OnClose() { OnOK(); }
  void OnPortCheck();
  // The user let go of slider 211 (microphone) or 212 (speaker).
  void OnSliderReleased(int id);
  // WM_DESTROY. A window destroyed with its parent, not through EXIT, still ends the
  // connection and the capture (the viewer, going too, is left alone).
  void OnDestroy();

  bool HasWindow() const { return view_ != nullptr; }
  const AudioDialogFields& fields() const { return fields_; }
  const ConnectionDialogData& data() const { return data_; }
  // The result of the last Connect press: 1, an audio result code, or 0 before any.
  int lastResult() const { return lastResult_; }
  AudioRecorder& recorder() { return recorder_; }

 private:
  void Fail(int result);
  void EndConnection();
  void EnableConnected(bool connected);

  IUserMessages& messages_;
  IDialogPane& pane_;
  IAudioDialogView* view_ = nullptr;
  AudioDialogFields fields_;
  ConnectionDialogData data_{kIdTcp};
  AudioPlayer volume_;
  AudioRecorder recorder_;
  int lastResult_ = 0;
};

}  // namespace pel
