// pelprobe: diagnostics for those who install and support Kelvanter servers and the Pelioran
// control. One command per run: pelprobe COMMAND [OPTIONS].
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Common/SockUtil/NetInit.h"
#include "pelprobe/Commands.h"
#include "pelprobe/StderrDiagnostics.h"
#ifdef _WIN32
#include "trust/win/SchannelChannelFactory.h"
#endif

namespace {

using pel::probe::kExitOk;
using pel::probe::kExitUsage;

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>& args);
  const char* help;
};

// One line per command.
const Command kCommands[] = {
    {"server", pel::probe::ServerCommand, "run the control's start against a server and show what it sees and does"},
    {"relay", pel::probe::RelayCommand, "show a module's relay outputs as the relay dialog does, and switch one"},
    {"audio", pel::probe::AudioCommand, "connect to a server's audio port as the Audio Connection dialog does, send and receive"},
    {"encode", pel::probe::EncodeCommand, "code raw audio into a codec mode's payload blocks"},
    {"decode", pel::probe::DecodeCommand, "decode a codec mode's payload blocks into raw audio"},
};

void PrintCommands(std::FILE* stream) {
  std::fputs("usage: pelprobe COMMAND [OPTIONS]   (pelprobe COMMAND --help for its options)\n",
             stream);
  std::fputs("commands:\n", stream);
  for (const Command& command : kCommands) {
    std::fprintf(stream, "  %-10s %s\n", command.name, command.help);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const pel::probe::StderrDiagnostics diagnostics;
#ifdef _WIN32
  // https servers are read as the control reads them, through the system's TLS provider.
  pel::UseSchannelForTls();
#endif
  if (argc < 2) {
    PrintCommands(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    PrintCommands(stdout);
    return kExitOk;
  }
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    // The control's host has the socket library running before the control starts.
    if (!pel::EnsureSocketLibrary()) {
      std::fputs("pelprobe: the socket library could not be started\n", stderr);
      return pel::probe::kExitRequestFailed;
    }
    return command.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "pelprobe: unknown command '%s'\n", name.c_str());
  PrintCommands(stderr);
  return kExitUsage;
}
