#pragma once

#include "ports/ProcessStarter.h"

namespace pel::win {

// CreateProcessA without handle inheritance, with the default environment, folder and
// start-up information; the process and thread handles are closed at once. A program named
// without a folder is started from the system folder by its full path, never looked for.
class WinProcessStarter final : public IProcessStarter {
 public:
  bool StartProcess(const std::string& commandLine) override;
};

}  // namespace pel::win
