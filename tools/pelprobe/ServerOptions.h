#pragma once

#include <string>
#include <vector>

#include "pelprobe/OptionParser.h"
#include "pelprobe/ServerProbe.h"

namespace pel::probe {

// What the `server` command's options ask for.
struct ServerCommandOptions {
  ServerProbeOptions probe;
  bool json = false;
};

// Reads the `server` command's options. Without --page-url the hosting page is one loaded from
// "http://A:N/" (A the address, N the port), or from the address itself when it is an
// "https://" URL; --no-browser hosts the control without a browser.
// kHelp and kError leave the usage text, or the error, in `message`.
OptionParser::Result ParseServerOptions(const std::vector<std::string>& args,
                                        ServerCommandOptions& options, std::string& message);

}  // namespace pel::probe
