#pragma once

#include <string>
#include <vector>

namespace pel::probe {

// Exit statuses of every command.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRequestFailed = 2;  // a page request failed (no answer, refused, cut off)
constexpr int kExitStatusFailed = 3;   // a page was answered with a status that is no success
constexpr int kExitAudioFailed = 4;    // the audio connection did not succeed
constexpr int kExitFileFailed = 5;     // a file could not be read or written, or was cut short

// The commands; `args` are the arguments after the command's name. Each prints its report to
// standard output and its errors to standard error, and returns the exit status.
int ServerCommand(const std::vector<std::string>& args);
int RelayCommand(const std::vector<std::string>& args);
int AudioCommand(const std::vector<std::string>& args);
int EncodeCommand(const std::vector<std::string>& args);
int DecodeCommand(const std::vector<std::string>& args);

}  // namespace pel::probe
