// atlhost: hosts an ActiveX control in Wine's ATL, the way an application built with ATL
// does, several times in one process, and reports what it sees (see README.md).
#include <objbase.h>
#include <windows.h>

#include <string>

#include "AtlApi.h"
#include "CounterProbe.h"
#include "DialogRecorder.h"
#include "Frame.h"
#include "HostCycle.h"
#include "OleThread.h"
#include "Options.h"
#include "Report.h"
#include "ResourceCounts.h"
#include "Text.h"

namespace {

// Where a count grew from the warm cycle (the second) to the last: what the last cycle has
// that the warm one had not, the leak's suspects (handle values and GDI slots are reused, so
// an unchanged count lists nothing).
void ReportLeft(const hostkit::ResourceSnapshot& warm, const hostkit::ResourceSnapshot& last,
                hostkit::Report& report) {
  for (const auto& [window, name] : last.windows) {
    if (last.windows.size() > warm.windows.size() && !warm.windows.count(window)) {
      report.Line("left\twindow\t" + hostkit::Escaped(name));
    }
  }
  for (const auto& [value, type] : last.handles) {
    if (last.handles.size() > warm.handles.size() && !warm.handles.count(value)) {
      report.Line("left\thandle\t" + hostkit::Hex(static_cast<unsigned long>(value)) + "\ttype " +
                  std::to_string(type));
    }
  }
  for (const auto& [index, type] : last.gdi) {
    if (last.gdi.size() > warm.gdi.size() && !warm.gdi.count(index)) {
      report.Line("left\tgdi\t" + std::to_string(index) + "\ttype " + std::to_string(type));
    }
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 64;
  hostkit::Report report(options.out);
  if (!report.Ok()) return 2;

  OleThread ole;
  report.Line("ole\t" + hostkit::Hex(static_cast<unsigned long>(ole.Result())));
  AtlApi atl(options.atl_dll);
  report.Line("atl\t" + hostkit::Utf8(options.atl_dll) + "\t" +
              (atl.Complete() ? "complete" : "missing") + "\t" + hostkit::Utf8(atl.WindowClass()));
  if (!atl.Complete()) return 2;
  report.Line(std::string("AtlAxWinInit\t") + (atl.win_init() ? "1" : "0"));
  if (!RegisterFrameClass()) return 2;

  CLSID clsid;
  if (FAILED(CLSIDFromString(options.control.c_str(), &clsid)) &&
      FAILED(CLSIDFromProgID(options.control.c_str(), &clsid))) {
    report.Line("error\tclass\t" + hostkit::Utf8(options.control));
    return 2;
  }

  hostkit::DialogRecorder boxes({});
  report.Line(hostkit::ProbeLine(hostkit::ProbeCounters()));

  int status = 0;
  hostkit::ResourceSnapshot warm;
  hostkit::ResourceSnapshot last;
  for (int cycle = 1; cycle <= options.cycles; ++cycle) {
    report.Line("cycle\t" + std::to_string(cycle));
    hostkit::ResourceSnapshot before = hostkit::TakeSnapshot();
    report.Line("counts\t" + std::to_string(cycle) + "\tbefore\t" + hostkit::CountsText(before));
    if (!RunHostCycle(options, clsid, atl, options.spy_first && cycle == 1, report, boxes)) {
      status = 2;
    }
    ReportUnloadChecks(options, report);
    last = hostkit::TakeSnapshot();
    report.Line("counts\t" + std::to_string(cycle) + "\tafter\t" + hostkit::CountsText(last));
    if (cycle == 2) warm = last;
  }
  if (options.cycles > 2) ReportLeft(warm, last, report);
  report.Line("done");
  return status;
}
