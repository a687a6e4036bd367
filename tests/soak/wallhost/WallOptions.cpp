#include "WallOptions.h"

#include <algorithm>
#include <cwchar>
#include <cstdlib>

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c < 128 ? c : '?');
  return out;
}

bool ParseWallOptions(int argc, wchar_t** argv, WallOptions* o) {
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
    } else if (arg == L"--pace" && has_value) {
      o->pace_ms = std::max(0, _wtoi(argv[++i]));
    } else if (arg == L"--viewer-pictures" && has_value) {
      o->viewer_pictures = argv[++i];
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
  return !o->viewer_pictures.empty() || (!o->control.empty() && !o->ports.empty());
}
