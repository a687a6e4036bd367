// atlhost: hosts an ActiveX control in Wine's ATL, the way an application built with ATL
// does, several times in one process, and reports what it sees (see README.md).
#include <objbase.h>
#include <windows.h>

#include <string>

#include "AtlApi.h"
#include "HostCycle.h"
#include "MessageBoxRecorder.h"
#include "OleThread.h"
#include "Options.h"
#include "Report.h"
#include "ResourceCounts.h"

namespace {

// Counters are trusted only after a deliberate leak of each kind moved them.
void ProbeCounters(Report& report) {
  ResourceSnapshot before = TakeSnapshot();
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HWND window = CreateWindowExW(0, L"STATIC", L"probe", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ResourceSnapshot during = TakeSnapshot();
  if (window) DestroyWindow(window);
  if (brush) DeleteObject(brush);
  if (event) CloseHandle(event);
  auto delta = [](size_t a, size_t b) {
    return std::to_string(static_cast<long long>(b) - static_cast<long long>(a));
  };
  report.Line("probe\twindows\t" + delta(before.windows.size(), during.windows.size()) +
              "\thandles\t" + delta(before.handles.size(), during.handles.size()) + "\tgdi\t" +
              delta(before.gdi.size(), during.gdi.size()));
}

// Where a count grew from the warm cycle (the second) to the last: what the last cycle has
// that the warm one had not, the leak's suspects (handle values and GDI slots are reused, so
// an unchanged count lists nothing).
void ReportLeft(const ResourceSnapshot& warm, const ResourceSnapshot& last, Report& report) {
  for (const auto& [window, name] : last.windows) {
    if (last.windows.size() > warm.windows.size() && !warm.windows.count(window)) {
      report.Line("left\twindow\t" + Escaped(name));
    }
  }
  for (const auto& [value, type] : last.handles) {
    if (last.handles.size() > warm.handles.size() && !warm.handles.count(value)) {
      report.Line("left\thandle\t" + Hex(static_cast<unsigned long>(value)) + "\ttype " +
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
  Report report(options.out);
  if (!report.Ok()) return 2;

  OleThread ole;
  report.Line("ole\t" + Hex(static_cast<unsigned long>(ole.Result())));
  AtlApi atl(options.atl_dll);
  report.Line("atl\t" + Narrow(options.atl_dll) + "\t" + (atl.Complete() ? "complete" : "missing") +
              "\t" + Narrow(atl.WindowClass()));
  if (!atl.Complete()) return 2;
  report.Line(std::string("AtlAxWinInit\t") + (atl.win_init() ? "1" : "0"));
  if (!RegisterFrameClass()) return 2;

  CLSID clsid;
  if (FAILED(CLSIDFromString(options.control.c_str(), &clsid)) &&
      FAILED(CLSIDFromProgID(options.control.c_str(), &clsid))) {
    report.Line("error\tclass\t" + Narrow(options.control));
    return 2;
  }

  MessageBoxRecorder boxes;
  ProbeCounters(report);

  int status = 0;
  ResourceSnapshot warm;
  ResourceSnapshot last;
  for (int cycle = 1; cycle <= options.cycles; ++cycle) {
    report.Line("cycle\t" + std::to_string(cycle));
    ResourceSnapshot before = TakeSnapshot();
    report.Line("counts\t" + std::to_string(cycle) + "\tbefore\t" + CountsText(before));
    if (!RunHostCycle(options, clsid, atl, options.spy_first && cycle == 1, report, boxes)) {
      status = 2;
    }
    ReportUnloadChecks(options, report);
    last = TakeSnapshot();
    report.Line("counts\t" + std::to_string(cycle) + "\tafter\t" + CountsText(last));
    if (cycle == 2) warm = last;
  }
  if (options.cycles > 2) ReportLeft(warm, last, report);
  report.Line("done");
  return status;
}
