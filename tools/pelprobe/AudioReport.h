#pragma once

#include <cstdint>
#include <string>

#include "pelprobe/AudioProbe.h"

namespace pel::probe {

// The report of `pelprobe audio`: the probe's report and the packets the playback dropped.
std::string AudioReportJson(const AudioProbeReport& report, uint64_t dropped);
std::string AudioReportText(const AudioProbeReport& report, uint64_t dropped);

// The text the dialog shows for the report's result: "Connected", or the message of the
// result code.
std::string AudioResultText(const AudioProbeReport& report);

}  // namespace pel::probe
