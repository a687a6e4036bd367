#pragma once

#include <string>
#include <vector>

#include "pelprobe/AudioProbe.h"
#include "pelprobe/OptionParser.h"

namespace pel::probe {

struct AudioCommandOptions {
  AudioProbeOptions probe;
  bool json = false;
};

// Reads the `audio` command's options. kHelp and kError leave the usage text, or the error, in
// `message`.
OptionParser::Result ParseAudioOptions(const std::vector<std::string>& args,
                                       AudioCommandOptions& options, std::string& message);

}  // namespace pel::probe
