#include "pelprobe/AudioOptions.h"

#include <cstdint>

namespace pel::probe {

namespace {
constexpr int64_t kHighestPort = 65535;
constexpr int64_t kHighestIdentifier = 32767;
constexpr int64_t kLongestRun = 86400;
constexpr int64_t kHighestTone = 3999;  // below half the sample rate
}  // namespace

OptionParser::Result ParseAudioOptions(const std::vector<std::string>& args,
                                       AudioCommandOptions& options, std::string& message) {
  AudioProbeOptions& probe = options.probe;
  int64_t httpPort = probe.httpPort;
  int64_t module = probe.module;
  int64_t mode = 0;
  int64_t audioPort = 0;
  int64_t camera = probe.camera;
  int64_t seconds = probe.seconds;
  int64_t tone = probe.toneHz;
  bool noPlayback = false;

  OptionParser parser("audio");
  parser.AddText("--addr", "A", &probe.address, "the server's address (dotted IPv4)", true);
  parser.AddNumber("--port", "N", 1, kHighestPort, &httpPort,
                   "HTTP port for the server page, 80 when not given");
  parser.AddText("--user", "U", &probe.user,
                 "user for the server page and the audio login (login: root when not given)");
  parser.AddText("--password", "P", &probe.password, "password (empty when not given)");
  parser.AddNumber("--module", "N", 0, kHighestIdentifier, &module,
                   "server identifier (iSvrID), 0 when not given");
  parser.AddNumber("--mode", "M", 1, 9, &mode,
                   "codec mode 1, 2 or 9; the server page's audio device type when not given");
  parser.AddNumber("--audio-port", "N", 1, kHighestPort, &audioPort,
                   "the server's UDP audio port; the server page's when not given");
  parser.AddNumber("--camera", "C", 0, 6, &camera, "selected camera, 1 when not given (0: none)");
  parser.AddNumber("--seconds", "S", 1, kLongestRun, &seconds,
                   "how long to send after the login, 5 when not given (with --in: the file)");
  parser.AddNumber("--tone", "HZ", 1, kHighestTone, &tone, "send a sine tone, 1000 Hz by default");
  parser.AddText("--in", "FILE", &probe.inPath,
                 "send this raw file instead (16-bit little-endian PCM for modes 1 and 9, "
                 "stereo for 1; mu-law bytes for 2)");
  parser.AddText("--out", "FILE", &probe.outPath, "write the played audio to this raw file");
  parser.AddFlag("--no-playback", &noPlayback,
                 "TCP receive mode: send only, the server's audio does not come back");
  parser.AddFlag("--json", &options.json, "print one JSON object");

  const OptionParser::Result result = parser.Parse(args);
  if (result != OptionParser::Result::kOk) {
    message = result == OptionParser::Result::kHelp ? parser.Usage() : parser.error();
    return result;
  }
  if (parser.Given("--mode") && mode != 1 && mode != 2 && mode != 9) {
    message = "option --mode: " + std::to_string(mode) + " is not 1, 2 or 9";
    return OptionParser::Result::kError;
  }
  if (parser.Given("--tone") && parser.Given("--in")) {
    message = "--tone and --in exclude each other";
    return OptionParser::Result::kError;
  }
  if (noPlayback && parser.Given("--out")) {
    message = "--out and --no-playback exclude each other";
    return OptionParser::Result::kError;
  }
  probe.httpPort = static_cast<int32_t>(httpPort);
  probe.module = static_cast<int32_t>(module);
  probe.mode = static_cast<int>(mode);
  probe.audioPort = static_cast<int32_t>(audioPort);
  probe.camera = static_cast<int32_t>(camera);
  probe.seconds = static_cast<int32_t>(seconds);
  probe.secondsGiven = parser.Given("--seconds");
  probe.toneHz = static_cast<int32_t>(tone);
  probe.userGiven = parser.Given("--user");
  probe.passwordGiven = parser.Given("--password");
  probe.playback = !noPlayback;
  return OptionParser::Result::kOk;
}

}  // namespace pel::probe
