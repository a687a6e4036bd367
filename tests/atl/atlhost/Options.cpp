#include "Options.h"

#include <cstdio>

#include "Args.h"

namespace {

const char kUsage[] =
    "atlhost [options] [actions] CLSID|ProgID\n"
    "Hosts a control in Wine's ATL (AtlAxWin window, AtlAxAttachControl) once per cycle.\n"
    "  --out FILE          report file\n"
    "  --atl DLL           the ATL DLL (atl.dll, atl80.dll ... atl110.dll; default atl.dll)\n"
    "  --cycles N          create, attach, run the actions and tear down N times (3)\n"
    "  --no-spy            host the first cycle directly too (no interface spies)\n"
    "  --param NAME=VALUE  a <param> tag, loaded through IPersistPropertyBag before attaching\n"
    "  --size WxH          the host window's client size (1290x720)\n"
    "  --unload-check CLSID  after each teardown, ask that class's DLL DllCanUnloadNow\n"
    "actions, run in every cycle:\n"
    "  --wait MS  --windows  --click ID  --click-at X,Y  --select ID:INDEX  --get NAME\n"
    "  --resize WxH (ATL's window, which hands the size to the control)\n"
    "  --key VK[+shift|+alt] (to the focused window)  --acc (what oleacc shows)  --acc-do ID\n";

}  // namespace

bool ParseOptions(int argc, wchar_t** argv, Options* options) {
  const std::pair<const wchar_t*, Action::Kind> kActions[] = {
      {L"--wait", Action::kWait},       {L"--click", Action::kClick},
      {L"--click-at", Action::kClickAt}, {L"--select", Action::kSelect},
      {L"--get", Action::kGet},         {L"--resize", Action::kResize},
      {L"--key", Action::kKey},         {L"--acc-do", Action::kAccDo}};
  hostkit::Args args(argc, argv);
  while (args.More()) {
    std::string argument;
    std::wstring name, value;
    bool action = false;
    for (const auto& [option, kind] : kActions) {
      if (!action && args.Value(option, &argument)) {
        options->actions.push_back({kind, argument});
        action = true;
      }
    }
    if (action) continue;
    if (args.Flag(L"--windows")) {
      options->actions.push_back({Action::kWindows, {}});
    } else if (args.Flag(L"--acc")) {
      options->actions.push_back({Action::kAcc, {}});
    } else if (args.Flag(L"--no-spy")) {
      options->spy_first = false;
    } else if (args.Value(L"--out", &options->out) || args.Value(L"--atl", &options->atl_dll) ||
               args.Number(L"--cycles", &options->cycles, 1) ||
               args.Pair(L"--size", 'x', &options->width, &options->height)) {
    } else if (args.Value(L"--unload-check", &value)) {
      options->unload_checks.push_back(value);
    } else if (args.Assignment(L"--param", &name, &value)) {
      options->params.emplace_back(name, value);
    } else if (options->control.empty()) {
      options->control = args.Take();
    } else {
      args.Fail("more than one control named");
    }
  }
  if (args.Ok() && options->control.empty()) args.Fail("no control named");
  if (!args.Ok()) std::fprintf(stderr, "atlhost: %s\n%s", args.Error().c_str(), kUsage);
  return args.Ok();
}
