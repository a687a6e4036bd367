#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pel::host {

// One step pelhost takes once the control is in-place active.
struct HostAction {
  enum Kind {
    kWait, kGet, kPut, kCall, kVerb, kClick, kClickAt, kWindows, kShot,
    kDialogs, kDialogClick, kKey, kSelect, kHover, kCheck, kPress
  };
  Kind kind;
  std::string argument;
};

struct HostOptions {
  std::string control;                                     // CLSID ("{...}") or ProgID
  std::string dll;                                         // create from this DLL directly
  std::vector<std::pair<std::string, std::string>> params; // <param> tags, in order
  std::string url;                                         // pose as a web browser
  int x = 0;                                               // the control's place in the
  int y = 0;                                               //   host window
  int width = 1290;
  int height = 720;
  bool test = false;                                       // record and dismiss message boxes
  bool exitAfter = false;                                  // close after the actions
  std::string out;                                         // report file ("" = stdout)
  std::vector<HostAction> actions;
};

// Parses the command line (without the program name). False with `error` set when it is not
// understood.
bool ParseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error);

extern const char* const kHostUsage;

}  // namespace pel::host
