#pragma once

#include <string>

#include "pelprobe/ServerProbe.h"

namespace pel::probe {

// The exit status for what the probe saw: the first failed page read decides.
int ServerExitStatus(const ServerProbe& probe);

// One JSON object: the control's fields under their names, then "modules", "speedList",
// "messages" and "calls".
std::string ServerReportJson(const ServerProbe& probe);

// The same for a reader.
std::string ServerReportText(const ServerProbe& probe);

}  // namespace pel::probe
