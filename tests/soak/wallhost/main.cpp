// soakwall: a wall of controls in one container, as a monitoring desk has it. Wine's ATL hosts
// N controls side by side in one frame window, each loaded with the common <param> values and
// its own server port; the harness times how long it takes until every control shows its
// viewer, and counts what the process holds with none, and with all of them, twice (a cold
// round and a warm one), so that the warm difference is what the controls themselves cost.
//
//   soakwall [--out FILE] [--atl DLL] [--cell WxH] [--timeout MS] [--rounds N]
//            [--param NAME=VALUE]... [--unload-check DLL] CLSID PORT...
//   soakwall --soak STEPS [--reload-every N] [--sample-every N] ... CLSID PORT...
//
// The soak hosts one control at a time, each page against the next of the ports, and reports
// "sample STEP counts..." and at the end "soak STEPS RELOADS MS FAILURES".
//
// Report lines: "probe ...", per round "counts ROUND empty|wall ...", "started ROUND N MS",
// "msgbox ...", "unload ROUND HRESULT" (the DLL's DllCanUnloadNow once the page is closed),
// "loaded ROUND 0|1" (after CoFreeUnusedLibraries), "done".
#include <objbase.h>
#include <ocidl.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AtlApi.h"
#include "ComRef.h"
#include "MessageBoxRecorder.h"
#include "OleThread.h"
#include "ParamPropertyBag.h"
#include "Report.h"
#include "ResourceCounts.h"
#include "WindowFacts.h"
#include "WindowHandle.h"

namespace {

constexpr int kViewerId = 206;
const wchar_t kFrameClass[] = L"SoakWallFrame";

struct Options {
  std::string out;
  std::wstring atl = L"atl.dll";
  int cell_width = 1290;
  int cell_height = 720;
  int timeout_ms = 60000;
  int rounds = 2;
  ParamPropertyBag::Params params;
  std::wstring unload_dll;
  std::wstring control;
  std::vector<std::wstring> ports;
  int soak_steps = 0;  // with steps: the soak instead of the wall (one control, reloaded)
  int reload_every = 25;
  int sample_every = 100;
};

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c < 128 ? c : '?');
  return out;
}

bool Parse(int argc, wchar_t** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == L"--out" && has_value) {
      o->out = Narrow(argv[++i]);
    } else if (arg == L"--atl" && has_value) {
      o->atl = argv[++i];
    } else if (arg == L"--cell" && has_value) {
      if (swscanf(argv[++i], L"%dx%d", &o->cell_width, &o->cell_height) != 2) return false;
    } else if (arg == L"--timeout" && has_value) {
      o->timeout_ms = _wtoi(argv[++i]);
    } else if (arg == L"--rounds" && has_value) {
      o->rounds = _wtoi(argv[++i]);
    } else if (arg == L"--soak" && has_value) {
      o->soak_steps = _wtoi(argv[++i]);
    } else if (arg == L"--reload-every" && has_value) {
      o->reload_every = std::max(1, _wtoi(argv[++i]));
    } else if (arg == L"--sample-every" && has_value) {
      o->sample_every = std::max(1, _wtoi(argv[++i]));
    } else if (arg == L"--unload-check" && has_value) {
      o->unload_dll = argv[++i];
    } else if (arg == L"--param" && has_value) {
      const std::wstring p = argv[++i];
      const size_t eq = p.find(L'=');
      if (eq == std::wstring::npos) return false;
      o->params.emplace_back(p.substr(0, eq), p.substr(eq + 1));
    } else if (arg.rfind(L"--", 0) == 0) {
      return false;
    } else if (o->control.empty()) {
      o->control = arg;
    } else {
      o->ports.push_back(arg);
    }
  }
  return !o->control.empty() && !o->ports.empty();
}

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

DWORD WINAPI WaitFor(void* event) { return WaitForSingleObject(event, INFINITE); }

// Counters are trusted only after a deliberate leak of each kind moved them.
void ProbeCounters(Report& report) {
  ResourceSnapshot before = TakeSnapshot();
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HWND window = CreateWindowExW(0, L"STATIC", L"probe", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  const SIZE_T bytes = 8 << 20;
  void* memory = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  // Wine counts committed pages only once they are touched.
  if (memory) std::memset(memory, 1, bytes);
  HANDLE thread = CreateThread(nullptr, 0, WaitFor, event, 0, nullptr);
  ResourceSnapshot during = TakeSnapshot();
  SetEvent(event);
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  if (memory) VirtualFree(memory, 0, MEM_RELEASE);
  if (window) DestroyWindow(window);
  if (brush) DeleteObject(brush);
  if (event) CloseHandle(event);
  auto delta = [](long long a, long long b) { return std::to_string(b - a); };
  report.Line("probe\twindows\t" + delta(before.windows.size(), during.windows.size()) +
              "\thandles\t" + delta(before.handles.size(), during.handles.size()) + "\tgdi\t" +
              delta(before.gdi.size(), during.gdi.size()) + "\tprivate\t" +
              delta(before.private_bytes, during.private_bytes) + "\tthreads\t" +
              delta(before.threads, during.threads));
}

BOOL CALLBACK FindViewer(HWND child, LPARAM param) {
  if (GetDlgCtrlID(child) == kViewerId && IsWindowVisible(child)) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

bool ShowsViewer(HWND control) {
  bool found = false;
  if (control) EnumChildWindows(control, FindViewer, reinterpret_cast<LPARAM>(&found));
  return found;
}

// One control in its cell of ATL's host window.
struct Cell {
  ComRef<IUnknown> control;
  ComRef<IUnknown> container;
  HWND window = nullptr;
};

HWND ControlWindow(const ComRef<IUnknown>& control) {
  ComRef<IOleInPlaceObject> inplace;
  HWND window = nullptr;
  if (SUCCEEDED(control.As(IID_IOleInPlaceObject, &inplace))) inplace->GetWindow(&window);
  return window;
}

void LoadParams(const ComRef<IUnknown>& control, ParamPropertyBag::Params params,
                Report& report) {
  ComRef<IPersistPropertyBag> persist;
  if (FAILED(control.As(IID_IPersistPropertyBag, &persist))) {
    report.Line("error\tpropertybag");
    return;
  }
  ComRef<ParamPropertyBag> bag(new ParamPropertyBag(std::move(params)));
  const HRESULT hr = persist->Load(bag.Get(), nullptr);
  if (FAILED(hr)) report.Line("error\tload\t" + Hex(static_cast<unsigned long>(hr)));
}

std::string UnloadAnswer(const std::wstring& dll) {
  using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
  HMODULE module = GetModuleHandleW(dll.c_str());
  if (!module) return "not-loaded";
  auto can_unload = reinterpret_cast<CanUnloadFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return can_unload ? Hex(static_cast<unsigned long>(can_unload())) : "no-export";
}

// One page of the wall: every control created, loaded, attached and waited for; the counts;
// then the page closed. False when a control failed or did not show its viewer in time.
bool RunRound(int round, const Options& o, const CLSID& clsid, const AtlApi& atl,
              Report& report, MessageBoxRecorder& boxes) {
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
  report.Line("counts\t" + r + "\tempty\t" + CountsText(TakeSnapshot()));

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
                                         cells[i].control.OutVoid())
                      : E_FAIL;
    if (SUCCEEDED(hr)) {
      ParamPropertyBag::Params params = o.params;
      params.emplace_back(L"iHttpPort", o.ports[i]);
      LoadParams(cells[i].control, params, report);
      hr = atl.attach_control(cells[i].control.Get(), host, cells[i].container.Out());
    }
    if (FAILED(hr)) {
      report.Line("error\tcontrol\t" + std::to_string(i) + "\t" +
                  Hex(static_cast<unsigned long>(hr)));
      ok = false;
    }
    cells[i].window = ControlWindow(cells[i].control);
  }
  int shown = 0;
  long long took = -1;
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(o.timeout_ms);
  while (static_cast<LONG>(deadline - GetTickCount()) > 0) {
    Pump(20);
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
  Pump(1500);
  for (const std::string& line : boxes.Take()) report.Line(line);
  report.Line("counts\t" + r + "\twall\t" + CountsText(TakeSnapshot()));

  // The page closes: the frame goes, and with it ATL's windows, which close the controls.
  frame.Destroy();
  cells.clear();
  Pump(500);
  if (!o.unload_dll.empty()) {
    report.Line("unload\t" + r + "\t" + UnloadAnswer(o.unload_dll));
    CoFreeUnusedLibraries();
    report.Line("loaded\t" + r + "\t" + (GetModuleHandleW(o.unload_dll.c_str()) ? "1" : "0"));
  }
  for (const std::string& line : boxes.Take()) report.Line(line);
  report.Line("counts\t" + r + "\tclosed\t" + CountsText(TakeSnapshot()));
  return ok && shown == n;
}

// One soak step on the control's pane: a button clicked at its centre, or a list entry chosen
// the way a user's choice reaches the list's parent. False when the window is missing.
bool SoakStep(HWND control, int step) {
  // Camera buttons 1..6, All, None, 2x, 1x, PTZ on and off, the module list.
  static const int kButtons[] = {3002, 3003, 3004, 3008, 3014, 3005, 3006, 3007,
                                 3009, 3013, 3001, 3001, 3018};
  const int id = kButtons[step % (sizeof kButtons / sizeof kButtons[0])];
  HWND target = Descendant(control, id);
  if (!target) return false;
  if (id == 3018) {
    const int index = (step / 13) % 2;
    SendMessageW(target, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(target), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(target));
    return true;
  }
  RECT r;
  GetClientRect(target, &r);
  const LPARAM where = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(target, WM_LBUTTONUP, 0, where);
  return true;
}

// The soak: one control in a page that is reloaded (closed, and made, loaded, attached and
// started again) every reload_every steps, a pane command per step, and the process's counts
// every sample_every steps, taken between two pages.
int RunSoak(const Options& o, const CLSID& clsid, const AtlApi& atl, Report& report,
            MessageBoxRecorder& boxes) {
  int failures = 0;
  int reloads = 0;
  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<WindowHandle> frame;
  Cell cell;
  for (int step = 0; step < o.soak_steps; ++step) {
    if (!frame) {
      frame = std::make_unique<WindowHandle>(CreateWindowExW(
          0, kFrameClass, L"soak", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, o.cell_width,
          o.cell_height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
      HWND host = CreateWindowExW(0, atl.WindowClass().c_str(), L"",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, o.cell_width,
                                  o.cell_height, frame->Get(), reinterpret_cast<HMENU>(1),
                                  GetModuleHandleW(nullptr), nullptr);
      HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    cell.control.OutVoid());
      if (SUCCEEDED(hr)) {
        ParamPropertyBag::Params params = o.params;
        params.emplace_back(L"iHttpPort", o.ports[reloads % o.ports.size()]);
        LoadParams(cell.control, params, report);
        hr = atl.attach_control(cell.control.Get(), host, cell.container.Out());
      }
      cell.window = ControlWindow(cell.control);
      const DWORD deadline = GetTickCount() + static_cast<DWORD>(o.timeout_ms);
      while (SUCCEEDED(hr) && !ShowsViewer(cell.window) &&
             static_cast<LONG>(deadline - GetTickCount()) > 0) {
        Pump(20);
      }
      if (FAILED(hr) || !ShowsViewer(cell.window)) {
        report.Line("error	start	" + std::to_string(step));
        ++failures;
      }
      ++reloads;
    }
    if (!SoakStep(cell.window, step)) {
      report.Line("error	step	" + std::to_string(step));
      ++failures;
    }
    Pump(40);
    for (const std::string& line : boxes.Take()) report.Line(line);
    const int done = step + 1;
    if (done % o.reload_every == 0 || done == o.soak_steps) {
      frame.reset();
      cell = Cell();
      Pump(50);
    }
    if (done % o.sample_every == 0) {
      report.Line("sample\t" + std::to_string(done) + "\t" + CountsText(TakeSnapshot()));
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!Parse(argc, argv, &options)) return 64;
  Report report(options.out);
  if (!report.Ok()) return 2;
  OleThread ole;
  AtlApi atl(options.atl);
  if (FAILED(ole.Result()) || !atl.Complete() || !atl.win_init()) {
    report.Line("error\tatl");
    return 2;
  }
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kFrameClass;
  if (!RegisterClassExW(&wc)) return 2;
  CLSID clsid;
  if (FAILED(CLSIDFromString(options.control.c_str(), &clsid)) &&
      FAILED(CLSIDFromProgID(options.control.c_str(), &clsid))) {
    report.Line("error\tclass");
    return 2;
  }
  MessageBoxRecorder boxes;
  ProbeCounters(report);
  if (options.soak_steps > 0) {
    const int soaked = RunSoak(options, clsid, atl, report, boxes);
    report.Line("done");
    return soaked;
  }
  int status = 0;
  for (int round = 1; round <= options.rounds; ++round) {
    if (!RunRound(round, options, clsid, atl, report, boxes)) status = 1;
  }
  report.Line("done");
  return status;
}
