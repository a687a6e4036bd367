// hostile.exe: drives Pelioran.ocx as a hostile page's script and a hostile container would,
// with a seed that replays a run call for call.
//
//   hostile.exe [--seed N] [--calls N] [--loads N] [--trace-from N] [--malformed 1]
//               [--ocx PATH]
//
// --calls: randomised IDispatch::Invoke calls (GetIDsOfNames and GetTypeInfo calls come on
// top); --loads: randomised persistence operations (loads, saves, InitNew); --trace-from:
// print every Invoke from that index on (to see the calls before a fault); --malformed 1:
// also DISPPARAMS that no script engine makes (null arrays under non-zero counts) and
// DECIMALs out of range, which only a native caller can pass. Exit status 0
// when no fault was found, 1 with faults, 2 when the control could not be loaded, 3 on a
// crash (the report names the seed and the call).
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Args.h"
#include "ComRef.h"
#include "ControlModule.h"
#include "CounterProbe.h"
#include "DialogRecorder.h"
#include "DispatchFuzzer.h"
#include "PersistFuzzer.h"
#include "ProbeDispatch.h"
#include "Random.h"
#include "ResourceCounts.h"
#include "Text.h"
#include "Verdict.h"

namespace hostile {
namespace {

// {FE4F5263-11D5-4724-95BA-A978983B6369}
const CLSID kClsidPelioran = {
    0xfe4f5263, 0x11d5, 0x4724, {0x95, 0xba, 0xa9, 0x78, 0x98, 0x3b, 0x63, 0x69}};

constexpr uint64_t kDefaultSeed = 20240611;
constexpr uint64_t kDefaultCalls = 100000;
constexpr uint64_t kDefaultLoads = 100000;
// Work before anything is counted, on a seed of its own, so that what is made once (type
// library, window classes, the About box's resources, oleaut32's caches) is already there.
constexpr uint64_t kWarmUpCalls = 3000;
constexpr uint64_t kWarmUpLoads = 3000;
constexpr uint64_t kWarmUpSalt = 0xA5A5A5A5A5A5A5A5ull;
// The persistence calls draw from their own sequence, so that a replay of the first part of
// the run repeats the dispatch calls and the persistence calls alike.
constexpr uint64_t kPersistSalt = 0x5EED5EED5EED5EEDull;
// After the run, its first fifth runs again call for call. What the run only raised to a
// high-water mark (the heap's size, oleaut32's caches) does not grow again; a leak does.
constexpr uint64_t kReplayShare = 5;
// A new control every so many calls or loads: creation and destruction are exercised too.
constexpr uint64_t kRound = 10000;
// What the replay may add: nothing but noise. Wine's heap grows in steps, and the About boxes'
// modal loops run for as long as the machine is slow, so the replay's memory moves by a few
// hundred KiB on a loaded machine (452 KiB seen); a leak of 26 bytes an operation would pass
// 1 MiB over the replay's 40,000 operations.
constexpr long kHandleSlack = 2;
constexpr uint64_t kMemorySlack = 1024 * 1024;
constexpr long kGdiSlack = 2;
constexpr long kWindowSlack = 0;
// What the whole run may add after the warm-up: the heap's high-water mark, which creeps up
// with the number of calls (about 4 KiB a thousand), but not a leak of any size.
constexpr uint64_t kRunMemorySlack = 4 * 1024 * 1024;
constexpr uint64_t kRunMemorySlackPerThousand = 4 * 1024;

struct Options {
  unsigned long long seed = kDefaultSeed;
  unsigned long long calls = kDefaultCalls;
  unsigned long long loads = kDefaultLoads;
  unsigned long long traceFrom = UINT64_MAX;
  bool malformed = false;
  std::wstring ocx;
};

// False, with the reason on standard output, for a command line it does not understand.
bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  hostkit::Args args(argc, argv);
  unsigned long long malformed = 0;
  while (args.More()) {
    if (!args.Unsigned(L"--seed", &options.seed) && !args.Unsigned(L"--calls", &options.calls) &&
        !args.Unsigned(L"--loads", &options.loads) &&
        !args.Unsigned(L"--trace-from", &options.traceFrom) &&
        !args.Unsigned(L"--malformed", &malformed) && !args.Value(L"--ocx", &options.ocx)) {
      args.Fail("not understood: " + hostkit::Utf8(args.Take()));
    }
  }
  options.malformed = malformed != 0;
  if (!args.Ok()) std::printf("hostile: %s\n", args.Error().c_str());
  return args.Ok();
}

std::wstring BesideThisProgram(const wchar_t* file) {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring out = path;
  const size_t slash = out.find_last_of(L"\\/");
  return (slash == std::wstring::npos ? std::wstring() : out.substr(0, slash + 1)) + file;
}

hostkit::ResourceTotals CountResources() { return hostkit::Totals(hostkit::TakeSnapshot()); }

double Seconds(ULONGLONG since) { return static_cast<double>(GetTickCount64() - since) / 1000.0; }

class Driver {
 public:
  Driver(const Options& options, ControlModule& module)
      : options_(options),
        module_(module),
        dispatchRng_(options.seed),
        persistRng_(options.seed ^ kPersistSalt),
        dispatch_(dispatchRng_, probes_, dialogs_),
        persist_(persistRng_, probes_) {
    dispatch_.AllowMalformed(options.malformed);
    persist_.AllowMalformed(options.malformed);
  }

  int Run() {
    if (!dialogs_.Installed()) {
      std::printf("cannot hook dialogs (error %lu)\n", GetLastError());
      return 2;
    }
    SetCurrentCall("checking the resource counters");
    const std::string counters = hostkit::ProbeFaults(hostkit::ProbeCounters());
    if (!counters.empty()) {
      Fault("a deliberate leak did not move these counters: %s", counters.c_str());
    }

    const ULONGLONG start = GetTickCount64();
    Reseed(options_.seed ^ kWarmUpSalt);
    if (!Fresh()) return 2;
    ShowAboutBox();
    if (!Pass(kWarmUpCalls, kWarmUpLoads)) return 2;
    if (!Fresh()) return 2;
    const hostkit::ResourceTotals warm = CountResources();
    std::printf("after warm-up:     %s\n", hostkit::CountsText(warm).c_str());

    Reseed(options_.seed);
    const DispatchStats d0 = dispatch_.Stats();
    persist_.ResetStats();
    if (!Pass(options_.calls, options_.loads)) return 2;
    const DispatchStats d1 = dispatch_.Stats();
    const std::string persist_summary = persist_.Summary();
    const double dispatch_seconds = dispatchSeconds_;
    const double persist_seconds = persistSeconds_;
    if (!Fresh()) return 2;
    const hostkit::ResourceTotals first = CountResources();
    std::printf("after the run:     %s\n", hostkit::CountsText(first).c_str());

    Reseed(options_.seed);
    if (!Pass(options_.calls / kReplayShare, options_.loads / kReplayShare)) return 2;
    if (!Fresh()) return 2;
    const hostkit::ResourceTotals end = CountResources();
    std::printf("after its replay:  %s\n", hostkit::CountsText(end).c_str());
    SetCurrentCall("comparing the counts");
    Compare("the replay", first, end, kMemorySlack);
    Compare("the run", warm, end,
            kRunMemorySlack +
                kRunMemorySlackPerThousand * ((options_.calls + options_.loads) / 1000));

    std::printf("dispatch: %llu Invoke calls (%llu succeeded), %llu GetIDsOfNames, "
                "%llu GetTypeInfo, %llu About boxes dismissed; %.1f s\n",
                Count(d1.invokes - d0.invokes), Count(d1.invokeSucceeded - d0.invokeSucceeded),
                Count(d1.getIdsOfNames - d0.getIdsOfNames), Count(d1.typeInfo - d0.typeInfo),
                Count(d1.aboutBoxes - d0.aboutBoxes), dispatch_seconds);
    std::printf("persistence: %s; %.1f s\n", persist_summary.c_str(), persist_seconds);
    std::printf("replayed: the first %llu calls and %llu persistence operations\n",
                Count(options_.calls / kReplayShare), Count(options_.loads / kReplayShare));

    SetCurrentCall("releasing the control");
    dispatchPtr_.Reset();
    control_.Reset();
    probes_.Check("the end");
    const HRESULT unload = module_.ReleaseAndAskUnload();
    if (unload != S_OK) {
      Fault("DllCanUnloadNow answered %s with every object released", HrText(unload).c_str());
    }
    std::printf("total %.1f s, seed %llu: %llu fault(s)\n", Seconds(start), Count(options_.seed),
                Count(FaultCount()));
    return FaultCount() == 0 ? 0 : 1;
  }

 private:
  static unsigned long long Count(uint64_t n) { return static_cast<unsigned long long>(n); }

  IDispatch* Dispatch() { return dispatchPtr_.Get(); }

  void Reseed(uint64_t seed) {
    dispatchRng_ = Random(seed);
    persistRng_ = Random(seed ^ kPersistSalt);
    probes_.Restart();
  }

  // Replaces the control with a new one, initialised as a container does.
  bool Fresh() {
    SetCurrentCall("creating a control");
    dispatchPtr_.Reset();
    control_.Reset();
    const HRESULT hr = module_.Create(control_);
    if (FAILED(hr) || !control_) {
      std::printf("the class factory answered %s\n", HrText(hr).c_str());
      return false;
    }
    if (FAILED(control_.QueryTo(IID_IDispatch, dispatchPtr_))) {
      std::printf("the control has no IDispatch\n");
      return false;
    }
    hostkit::ComRef<IPersistStreamInit> init;
    if (SUCCEEDED(control_.QueryTo(IID_IPersistStreamInit, init))) init->InitNew();
    return true;
  }

  // `calls` dispatch calls, then `loads` persistence operations, a new control every round.
  bool Pass(uint64_t calls, uint64_t loads) {
    if (!AboutBoxTeardown()) return false;
    const ULONGLONG dispatch_start = GetTickCount64();
    for (uint64_t done = 0; done < calls; done += kRound) {
      if (!Fresh()) return false;
      dispatch_.Run(Dispatch(), std::min(kRound, calls - done), options_.traceFrom);
    }
    dispatchSeconds_ = Seconds(dispatch_start);
    const ULONGLONG persist_start = GetTickCount64();
    for (uint64_t done = 0; done < loads; done += kRound) {
      if (!Fresh()) return false;
      persist_.Run(control_.Get(), std::min(kRound, loads - done));
    }
    persistSeconds_ = Seconds(persist_start);
    return true;
  }

  // The About box once, so that its dialog's resources exist before the first count.
  void ShowAboutBox() {
    SetCurrentCall("AboutBox in the warm-up");
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    const unsigned long before = dialogs_.Count();
    const HRESULT hr = Dispatch()->Invoke(kDispidAboutBox, IID_NULL, LOCALE_USER_DEFAULT,
                                          DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    if (hr != S_OK || dialogs_.Count() != before + 1) {
      Fault("AboutBox answered %s with %lu dialog(s)", HrText(hr).c_str(),
            dialogs_.Count() - before);
    }
  }

  // A page whose timer script, while the About box is up, opens it again and then drops the
  // control (its <object> removed): the call in progress must keep the control alive until
  // it returns, and the control must then go.
  bool AboutBoxTeardown() {
    if (!Fresh()) return false;
    SetCurrentCall("AboutBox, opening it again and letting the control go while it is up");
    IDispatch* control = Dispatch();
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    HRESULT nested = E_PENDING;
    dialogs_.SetReentry(
        [&] {
          nested = control->Invoke(kDispidAboutBox, IID_NULL, LOCALE_USER_DEFAULT,
                                   DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
          dispatchPtr_.Reset();
          control_.Reset();
        },
        1);
    const unsigned long before = dialogs_.Count();
    const HRESULT hr = control->Invoke(kDispidAboutBox, IID_NULL, LOCALE_USER_DEFAULT,
                                       DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    dialogs_.SetReentry(nullptr, 0);
    if (hr != S_OK || nested != S_OK || dialogs_.Count() != before + 2) {
      Fault("AboutBox answered %s and, from inside it, %s, with %lu dialog(s)",
            HrText(hr).c_str(), HrText(nested).c_str(), dialogs_.Count() - before);
    }
    return true;
  }

  void Compare(const char* what, const hostkit::ResourceTotals& from,
               const hostkit::ResourceTotals& to, uint64_t memorySlack) {
    if (to.handles - from.handles > kHandleSlack) {
      Fault("%s: kernel handles grew from %lld to %lld", what, from.handles, to.handles);
    }
    if (to.private_bytes > from.private_bytes + static_cast<long long>(memorySlack)) {
      Fault("%s: memory grew from %lld KiB to %lld KiB", what, from.private_bytes / 1024,
            to.private_bytes / 1024);
    }
    if (to.gdi - from.gdi > kGdiSlack) {
      Fault("%s: GDI objects grew from %lld to %lld", what, from.gdi, to.gdi);
    }
    if (to.windows - from.windows > kWindowSlack) {
      Fault("%s: windows grew from %lld to %lld", what, from.windows, to.windows);
    }
  }

  const Options& options_;
  ControlModule& module_;
  Random dispatchRng_;
  Random persistRng_;
  ProbePool probes_;
  // Every dialog answered with Cancel at once; their texts are not kept.
  hostkit::DialogRecorder dialogs_{{hostkit::DialogRecorder::Modeless::kAnswer, true, 0,
                                    [](const std::string&) {}}};
  DispatchFuzzer dispatch_;
  PersistFuzzer persist_;
  hostkit::ComRef<IUnknown> control_;
  hostkit::ComRef<IDispatch> dispatchPtr_;
  double dispatchSeconds_ = 0;
  double persistSeconds_ = 0;
};

}  // namespace
}  // namespace hostile

int wmain(int argc, wchar_t** argv) {
  using namespace hostile;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::printf("usage: hostile.exe [--seed N] [--calls N] [--loads N] [--trace-from N] "
                "[--malformed 1] [--ocx PATH]\n");
    return 2;
  }
  InstallCrashReport(options.seed);
  if (options.ocx.empty()) options.ocx = BesideThisProgram(L"Pelioran.ocx");
  std::printf("hostile: seed %llu, %llu calls, %llu loads, %d-bit, %ls\n",
              static_cast<unsigned long long>(options.seed),
              static_cast<unsigned long long>(options.calls),
              static_cast<unsigned long long>(options.loads),
              static_cast<int>(sizeof(void*) * 8), options.ocx.c_str());
  std::fflush(stdout);
  if (FAILED(OleInitialize(nullptr))) {
    std::printf("OleInitialize failed\n");
    return 2;
  }
  int status = 2;
  {
    ControlModule module;
    const std::string error = module.Load(options.ocx, kClsidPelioran);
    if (!error.empty()) {
      std::printf("cannot load the control: %s\n", error.c_str());
    } else {
      Driver driver(options, module);
      status = driver.Run();
    }
  }
  OleUninitialize();
  std::fflush(stdout);
  return status;
}
