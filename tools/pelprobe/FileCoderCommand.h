#pragma once

#include <string>
#include <vector>

namespace pel::probe {

enum class CoderDirection { kEncode, kDecode };

// `pelprobe encode|decode --mode M IN OUT`: the whole command, with its exit status.
int RunFileCoderCommand(CoderDirection direction, const std::vector<std::string>& args);

}  // namespace pel::probe
