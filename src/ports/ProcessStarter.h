#pragma once

#include <string>

namespace pel {

// Starts programs. The Windows shell uses CreateProcessA without handle inheritance, with the
// default environment, directory and start-up information, and closes the handles it gets.
class IProcessStarter {
 public:
  virtual ~IProcessStarter() = default;
  // False when the process could not be started.
  virtual bool StartProcess(const std::string& commandLine) = 0;
};

}  // namespace pel
