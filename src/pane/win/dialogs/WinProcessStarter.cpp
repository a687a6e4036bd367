#include "pane/win/dialogs/WinProcessStarter.h"

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace pel::win {

namespace {
struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;
}  // namespace

bool WinProcessStarter::StartProcess(const std::string& commandLine) {
  // CreateProcessA may write into the command line.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  const OwnedHandle process(info.hProcess);
  const OwnedHandle thread(info.hThread);
  return true;
}

}  // namespace pel::win
