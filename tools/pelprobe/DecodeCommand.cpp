#include "pelprobe/Commands.h"
#include "pelprobe/FileCoderCommand.h"

namespace pel::probe {

int DecodeCommand(const std::vector<std::string>& args) {
  return RunFileCoderCommand(CoderDirection::kDecode, args);
}

}  // namespace pel::probe
