#include <cstdio>
#include <string>

#include "pelprobe/Commands.h"
#include "pelprobe/ServerOptions.h"
#include "pelprobe/ServerProbe.h"
#include "pelprobe/ServerReport.h"

namespace pel::probe {

namespace {

void Print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

int ServerCommand(const std::vector<std::string>& args) {
  ServerCommandOptions options;
  std::string message;
  switch (ParseServerOptions(args, options, message)) {
    case OptionParser::Result::kHelp:
      Print(stdout, message +
                        "Runs the control's start sequence against the server and shows what it "
                        "reads and does.\nExit status: 0 the pages were read, 1 usage error, 2 a "
                        "request failed, 3 a status failure.\n");
      return kExitOk;
    case OptionParser::Result::kError:
      Print(stderr, "pelprobe server: " + message + "\n(pelprobe server --help shows the options)\n");
      return kExitUsage;
    case OptionParser::Result::kOk:
      break;
  }

  ServerProbe probe(options.probe);
  if (!probe.Run()) {
    Print(stderr, "pelprobe server: " + probe.error() + "\n");
    return kExitUsage;
  }
  Print(stdout, options.json ? ServerReportJson(probe) : ServerReportText(probe));
  return ServerExitStatus(probe);
}

}  // namespace pel::probe
