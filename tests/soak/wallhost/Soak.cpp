#include "Soak.h"

#include <chrono>
#include <memory>
#include <string>

#include "DialogRecorder.h"
#include "Hosting.h"
#include "Report.h"
#include "ResourceCounts.h"
#include "SoakPage.h"
#include "SoakSteps.h"

int RunSoak(const WallOptions& o, const CLSID& clsid, const AtlApi& atl, hostkit::Report& report,
            hostkit::DialogRecorder& boxes) {
  int failures = 0;
  int reloads = 0;
  int cycles = 0;
  int page_step = 0;
  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<SoakPage> page;
  SoakSteps steps(report, static_cast<DWORD>(o.pace_ms));
  for (int step = 0; step < o.soak_steps; ++step) {
    if (!page) {
      page = std::make_unique<SoakPage>(o, clsid, atl, o.ports[reloads % o.ports.size()],
                                        report);
      if (!page->Started()) {
        report.Line("error\tstart\t" + std::to_string(step));
        ++failures;
      }
      ++reloads;
      page_step = 0;
    }
    const int position = page_step % SoakSteps::kCycle;
    if (position == 0) ++cycles;
    if (!steps.Run(page->Control(), step, position, cycles - 1)) ++failures;
    ++page_step;
    for (const std::string& line : boxes.Take()) report.Line(line);
    const int done = step + 1;
    if (done % o.reload_every == 0 || done == o.soak_steps) {
      page.reset();
      PumpMessages(50);
      for (const std::string& line : boxes.Take()) report.Line(line);
    }
    if (done % o.sample_every == 0) {
      report.Line("sample\t" + std::to_string(done) + "\t" +
                  hostkit::CountsText(hostkit::TakeSnapshot()));
    }
  }
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
  report.Line("soak\t" + std::to_string(o.soak_steps) + "\t" + std::to_string(reloads) + "\t" +
              std::to_string(took) + "\t" + std::to_string(failures));
  if (!o.unload_dll.empty()) {
    report.Line("unload\t0\t" + UnloadAnswer(o.unload_dll));
    CoFreeUnusedLibraries();
    report.Line("loaded\t0\t" + std::string(GetModuleHandleW(o.unload_dll.c_str()) ? "1" : "0"));
  }
  return failures == 0 ? 0 : 1;
}
