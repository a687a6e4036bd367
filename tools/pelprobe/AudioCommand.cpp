#include <cstdio>
#include <string>

#include "audio/AudioResult.h"
#include "pelprobe/AudioOptions.h"
#include "pelprobe/AudioReport.h"
#include "pelprobe/Commands.h"
#include "pelprobe/StderrDiagnostics.h"

namespace pel::probe {

namespace {

void Print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

int ExitStatus(const AudioProbeReport& report) {
  if (report.page == PageReadOutcome::kRequestFailed) return kExitRequestFailed;
  if (report.page == PageReadOutcome::kStatusFailed) return kExitStatusFailed;
  if (report.fileFailed) return kExitFileFailed;
  return report.result == AUDIO_OK ? kExitOk : kExitAudioFailed;
}

}  // namespace

int AudioCommand(const std::vector<std::string>& args) {
  AudioCommandOptions options;
  std::string message;
  switch (ParseAudioOptions(args, options, message)) {
    case OptionParser::Result::kHelp:
      Print(stdout, message +
                        "Logs in to the server's audio port as the Audio Connection dialog does, "
                        "sends a tone or a file in real time, plays what comes back, and logs "
                        "out.\nExit status: 0 connected, 1 usage error, 2 or 3 the server page "
                        "failed, 4 the connection failed, 5 a file failed.\n");
      return kExitOk;
    case OptionParser::Result::kError:
      Print(stderr, "pelprobe audio: " + message + "\n(pelprobe audio --help shows the options)\n");
      return kExitUsage;
    case OptionParser::Result::kOk:
      break;
  }

  AudioProbeReport report;
  std::string error;
  bool ran = false;
  uint64_t dropped = 0;
  {
    const StderrDiagnostics diagnostics;
    ran = RunAudioProbe(options.probe, report, error);
    dropped = diagnostics.dropLines();
  }
  if (!ran) {
    Print(stderr, "pelprobe audio: " + error + "\n");
    return kExitFileFailed;
  }
  Print(stdout, options.json ? AudioReportJson(report, dropped) : AudioReportText(report, dropped));
  return ExitStatus(report);
}

}  // namespace pel::probe
