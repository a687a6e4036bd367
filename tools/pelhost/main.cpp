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
#include "Text.h"
#include "com/BStr.h"

int main(int argc, char** argv) {
  using namespace pel::host;
  std::vector<std::string> args(argv + 1, argv + argc);
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(args, options, error)) {
    std::fprintf(stderr, "pelhost: %s\n%s", error.c_str(), kHostUsage);
    return 64;
  }
  // The command line comes in the ANSI code page; the report's path goes as UTF-8.
  hostkit::Report report(hostkit::Utf8(pel::com::WideFromAnsi(options.out)));
  if (!report.Ok()) {
    std::fprintf(stderr, "pelhost: cannot write %s\n", options.out.c_str());
    return 73;
  }
  // As a DPI-aware browser does: the control sees the display's real scale (no change at 96).
  SetProcessDPIAware();
  if (FAILED(OleInitialize(nullptr))) {
    report.Line("error\tOleInitialize\t");
    return 70;
  }
  int status = 0;
  {
    // Test mode answers dialogs once they are built (a property frame's page comes later):
    // message boxes with OK (Cancel without an OK button), a frame that refuses it with
    // Cancel, then a close; a modeless one (the control's own) is reported and left open.
    std::unique_ptr<hostkit::DialogRecorder> recorder;
    if (options.test) {
      hostkit::DialogRecorder::Rules rules;
      rules.modeless = hostkit::DialogRecorder::Modeless::kLeaveAndReport;
      rules.settleMs = 100;
      rules.line = [&report](const std::string& line) { report.Line(line); };
      recorder = std::make_unique<hostkit::DialogRecorder>(std::move(rules));
    }
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
