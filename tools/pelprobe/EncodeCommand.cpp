#include "pelprobe/Commands.h"
#include "pelprobe/FileCoderCommand.h"

namespace pel::probe {

int EncodeCommand(const std::vector<std::string>& args) {
  return RunFileCoderCommand(CoderDirection::kEncode, args);
}

}  // namespace pel::probe
