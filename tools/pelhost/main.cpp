// pelhost: a small ActiveX container for the Pelioran control and its stand-in components.
// See README.md for the command line.

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "DialogRecorder.h"
#include "HostOptions.h"
#include "Report.h"

int main(int argc, char** argv) {
  using namespace pel::host;
  std::vector<std::string> args(argv + 1, argv + argc);
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(args, options, error)) {
    std::fprintf(stderr, "pelhost: %s\n%s", error.c_str(), kHostUsage);
    return 64;
  }
  Report report;
  if (!options.out.empty() && !report.Open(options.out)) {
    std::fprintf(stderr, "pelhost: cannot write %s\n", options.out.c_str());
    return 73;
  }
  if (FAILED(OleInitialize(nullptr))) {
    report.Line("error\tOleInitialize\t");
    return 70;
  }
  int status = 0;
  {
    std::unique_ptr<DialogRecorder> recorder;
    if (options.test) recorder = std::make_unique<DialogRecorder>(report);
    ControlHost host(options, report);
    if (host.Start()) {
      host.RunActions();
      if (!options.exitAfter) host.RunUntilClosed();
    } else {
      status = 2;
    }
  }
  report.Line("done");
  OleUninitialize();
  return status;
}
