#include "Options.h"

#include <windows.h>

#include <cstdio>

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
    "  --resize WxH (ATL's window, which hands the size to the control)\n";

}  // namespace

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

bool ParseOptions(int argc, wchar_t** argv, Options* options) {
  const std::pair<const wchar_t*, Action::Kind> kActions[] = {
      {L"--wait", Action::kWait},       {L"--click", Action::kClick},
      {L"--click-at", Action::kClickAt}, {L"--select", Action::kSelect},
      {L"--get", Action::kGet},         {L"--resize", Action::kResize}};
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    bool has_value = i + 1 < argc;
    auto value = [&]() { return std::wstring(argv[++i]); };
    bool matched = false;
    for (const auto& [name, kind] : kActions) {
      if (arg == name && has_value) {
        options->actions.push_back({kind, Narrow(value())});
        matched = true;
      }
    }
    if (matched) continue;
    if (arg == L"--windows") {
      options->actions.push_back({Action::kWindows, {}});
    } else if (arg == L"--no-spy") {
      options->spy_first = false;
    } else if (arg == L"--out" && has_value) {
      options->out = Narrow(value());
    } else if (arg == L"--atl" && has_value) {
      options->atl_dll = value();
    } else if (arg == L"--cycles" && has_value) {
      options->cycles = _wtoi(value().c_str());
    } else if (arg == L"--unload-check" && has_value) {
      options->unload_checks.push_back(value());
    } else if (arg == L"--size" && has_value) {
      if (swscanf(value().c_str(), L"%dx%d", &options->width, &options->height) != 2) {
        std::fputs(kUsage, stderr);
        return false;
      }
    } else if (arg == L"--param" && has_value) {
      std::wstring param = value();
      size_t eq = param.find(L'=');
      if (eq == std::wstring::npos) {
        std::fputs(kUsage, stderr);
        return false;
      }
      options->params.emplace_back(param.substr(0, eq), param.substr(eq + 1));
    } else if (i == argc - 1 && arg.rfind(L"--", 0) != 0) {
      options->control = arg;
    } else {
      std::fprintf(stderr, "atlhost: not understood: %s\n%s", Narrow(arg).c_str(), kUsage);
      return false;
    }
  }
  if (options->control.empty() || options->cycles < 1) {
    std::fputs(kUsage, stderr);
    return false;
  }
  return true;
}
