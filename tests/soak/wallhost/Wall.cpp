#include "Wall.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "AtlApi.h"
#include "DialogRecorder.h"
#include "Hosting.h"
#include "Report.h"
#include "ResourceCounts.h"
#include "Text.h"
#include "WindowHandle.h"

namespace {

// One page of the wall: every control created, loaded, attached and waited for; the counts;
// then the page closed. False when a control failed or did not show its viewer in time.
bool RunRound(int round, const WallOptions& o, const CLSID& clsid, const AtlApi& atl,
              hostkit::Report& report, hostkit::DialogRecorder& boxes) {
  const int n = static_cast<int>(o.ports.size());
  int columns = 1;
  while (columns * columns < n) ++columns;
  const int rows = (n + columns - 1) / columns;
  WindowHandle frame(CreateWindowExW(0, kFrameClass, L"soakwall",
                                     WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                     columns * o.cell_width, rows * o.cell_height, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!frame.Get()) {
    report.Line("error\tframe\t" + std::to_string(GetLastError()));
    return false;
  }
  const std::string r = std::to_string(round);
  report.Line("counts\t" + r + "\tempty\t" + hostkit::CountsText(hostkit::TakeSnapshot()));

  const auto start = std::chrono::steady_clock::now();
  std::vector<Cell> cells(n);
  bool ok = true;
  for (int i = 0; i < n; ++i) {
    HWND host = CreateWindowExW(0, atl.WindowClass().c_str(), L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                (i % columns) * o.cell_width, (i / columns) * o.cell_height,
                                o.cell_width, o.cell_height, frame.Get(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                GetModuleHandleW(nullptr), nullptr);
    HRESULT hr = host ? CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                         cells[i].control.PutVoid())
                      : E_FAIL;
    if (SUCCEEDED(hr)) {
      ParamPropertyBag::Params params = o.params;
      params.emplace_back(L"iHttpPort", o.ports[i]);
      LoadParams(cells[i].control, params, report);
      hr = atl.attach_control(cells[i].control.Get(), host, cells[i].container.Put());
    }
    if (FAILED(hr)) {
      report.Line("error\tcontrol\t" + std::to_string(i) + "\t" +
                  hostkit::Hex(static_cast<unsigned long>(hr)));
      ok = false;
    }
    cells[i].window = ControlWindow(cells[i].control);
  }
  int shown = 0;
  long long took = -1;
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(o.timeout_ms);
  while (static_cast<LONG>(deadline - GetTickCount()) > 0) {
    PumpMessages(20);
    shown = 0;
    for (const Cell& cell : cells) shown += ShowsViewer(cell.window) ? 1 : 0;
    if (shown == n) {
      took = std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now() - start)
                 .count();
      break;
    }
  }
  report.Line("started\t" + r + "\t" + std::to_string(shown) + "\t" + std::to_string(took));
  // Let the viewers settle (their first pictures, the pane's timers) before counting.
  PumpMessages(1500);
  for (const std::string& line : boxes.Take()) report.Line(line);
  report.Line("counts\t" + r + "\twall\t" + hostkit::CountsText(hostkit::TakeSnapshot()));

  // The page closes: the frame goes, and with it ATL's windows, which close the controls.
  frame.Destroy();
  cells.clear();
  PumpMessages(500);
  if (!o.unload_dll.empty()) {
    report.Line("unload\t" + r + "\t" + UnloadAnswer(o.unload_dll));
    CoFreeUnusedLibraries();
    report.Line("loaded\t" + r + "\t" + (GetModuleHandleW(o.unload_dll.c_str()) ? "1" : "0"));
  }
  for (const std::string& line : boxes.Take()) report.Line(line);
  report.Line("counts\t" + r + "\tclosed\t" + hostkit::CountsText(hostkit::TakeSnapshot()));
  return ok && shown == n;
}

}  // namespace

int RunWall(const WallOptions& o, const CLSID& clsid, const AtlApi& atl, hostkit::Report& report,
            hostkit::DialogRecorder& boxes) {
  int status = 0;
  for (int round = 1; round <= o.rounds; ++round) {
    if (!RunRound(round, o, clsid, atl, report, boxes)) status = 1;
  }
  return status;
}
