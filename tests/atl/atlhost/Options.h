// The harness's command line.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct Action {
  enum Kind { kWait, kWindows, kClick, kClickAt, kSelect, kGet, kResize, kKey, kAcc, kAccDo } kind;
  std::string argument;
};

struct Options {
  std::string out;                 // report file (standard output when empty)
  std::wstring atl_dll = L"atl.dll";
  int cycles = 3;
  bool spy_first = true;           // the first cycle hosts through the spies
  std::vector<std::pair<std::wstring, std::wstring>> params;
  int width = 1290;
  int height = 720;
  std::vector<Action> actions;
  std::vector<std::wstring> unload_checks;  // CLSIDs whose server DLL is asked DllCanUnloadNow
  std::wstring control;            // CLSID or ProgID
};

// False (with a message on standard error) for a command line it does not understand.
bool ParseOptions(int argc, wchar_t** argv, Options* options);
