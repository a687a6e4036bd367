#include "pelprobe/AudioProbe.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "audio/AudioResult.h"
#include "audio/dialogs/AudioConnectionDlg.h"
#include "audio/dialogs/DialogPane.h"
#include "control/ControlProperties.h"
#include "pelprobe/AudioSources.h"
#include "pelprobe/ConsoleWaveDevices.h"
#include "pelprobe/MemoryDialogView.h"
#include "control/PageFetch.h"
#include "serverinfo/ServerPage.h"

namespace pel::probe {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Longer than any file anybody sends.
constexpr std::chrono::hours kNoEnd(10000);

// The dialog's message boxes, kept in the order shown.
class KeptMessages : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

// The pane as the dialog sees it: the camera and module asked for; the viewer's stream audio
// is not there to switch.
class ProbePane : public IDialogPane {
 public:
  ProbePane(int32_t camera, int32_t module) : camera_(camera), module_(module) {}
  int32_t GetSelectedCamera() override { return camera_; }
  int32_t GetServerId() override { return module_; }
  int32_t IsLimit() override { return 0; }
  void EnableStreamAudio(int32_t) override {}
  IDispatchPort* VoiceControl() override { return nullptr; }

 private:
  int32_t camera_;
  int32_t module_;
};

// The server page's audio port and device type.
bool ReadServerAudio(const AudioProbeOptions& options, AudioProbeReport& report,
                     KeptMessages& messages, int& mode, int32_t& port) {
  ControlProperties props;
  props.strIpAddr = options.address;
  props.iHttpPort = options.httpPort;
  props.strUserID = options.user;
  props.strUserPWD = options.password;
  PageBuffer page;
  report.page = FetchPage(kServerInfoPath, props, messages, page);
  if (report.page != PageReadOutcome::kRead) return false;
  const ServerPageValues values = ParseServerPage(page.Text(), AccessWords{});
  if (mode == 0) mode = values.iAudioDeviceType;
  if (port == 0) port = values.pane.iUdpPort;
  return true;
}

}  // namespace

bool RunAudioProbe(const AudioProbeOptions& options, AudioProbeReport& report,
                   std::string& error) {
  File in;
  File out;
  if (!options.inPath.empty()) {
    in.reset(std::fopen(options.inPath.c_str(), "rb"));
    if (!in) {
      error = "cannot open " + options.inPath;
      return false;
    }
  }
  if (!options.outPath.empty()) {
    out.reset(std::fopen(options.outPath.c_str(), "wb"));
    if (!out) {
      error = "cannot create " + options.outPath;
      return false;
    }
  }

  KeptMessages messages;
  int mode = options.mode;
  int32_t port = options.audioPort;
  if ((mode == 0 || port == 0) && !ReadServerAudio(options, report, messages, mode, port)) {
    report.messages = messages.texts;
    return true;
  }
  report.mode = mode;
  report.audioPort = port;

  ToneSource tone(mode, options.toneHz);
  std::optional<FileCaptureSource> file;
  if (in) file.emplace(in.get(), mode);
  CaptureSource& source = file ? static_cast<CaptureSource&>(*file) : tone;
  std::optional<FilePlaybackSink> sink;
  if (out) sink.emplace(out.get());

  ConsoleWaveSystem devices(source, sink ? &*sink : nullptr);
  MemoryDialogView view(devices);
  ProbePane pane(options.camera, options.module);
  CAudioConnectionDlg dialog(messages, devices, pane);
  {
    AudioDialogFields fields;
    fields.serverAddress = options.address;
    fields.udpPort = port;
    fields.deviceType = mode;
    fields.user = options.userGiven ? options.user : "root";
    fields.password = options.passwordGiven ? options.password : "";
    dialog.SetFields(fields);
  }
  dialog.OnInitDialog(view);
  view.ChooseRadio(options.playback ? CAudioConnectionDlg::kIdUdp : CAudioConnectionDlg::kIdTcp,
                   {CAudioConnectionDlg::kIdTcp, CAudioConnectionDlg::kIdUdp});

  devices.SetCaptureHook([&] {
    if (dialog.recorder().IsConnected()) ++report.sent;
  });
  dialog.OnCommand(CAudioConnectionDlg::kIdConnect);
  report.connected = true;
  report.result = dialog.lastResult();
  if (report.result == AUDIO_OK) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::seconds(options.seconds);
    // A file without --seconds is sent to its end, however long that takes.
    const bool untilFileEnds = file && !options.secondsGiven;
    devices.PumpUntil(untilFileEnds ? std::chrono::steady_clock::now() + kNoEnd : deadline,
                      [&] {
                        return file && file->Ended() && report.sent >= file->BlocksWithData();
                      });
    dialog.OnCommand(CAudioConnectionDlg::kIdDisconnect);
  }
  report.played = devices.BlocksPlayed();
  report.messages = messages.texts;
  report.fileFailed = (file && file->Failed()) || (sink && sink->Failed());
  if (out && std::fclose(out.release()) != 0) report.fileFailed = true;
  return true;
}

}  // namespace pel::probe
