#include "WallOptions.h"

#include <climits>
#include <cstdio>

#include "Args.h"

bool ParseWallOptions(int argc, wchar_t** argv, WallOptions* o) {
  hostkit::Args args(argc, argv);
  while (args.More()) {
    std::wstring name, value;
    if (args.Value(L"--out", &o->out) || args.Value(L"--atl", &o->atl) ||
        args.Pair(L"--cell", 'x', &o->cell_width, &o->cell_height) ||
        args.Number(L"--timeout", &o->timeout_ms, 0) ||
        args.Number(L"--rounds", &o->rounds, 1) || args.Number(L"--soak", &o->soak_steps, 0) ||
        args.Number(L"--reload-every", &o->reload_every, 1) ||
        args.Number(L"--sample-every", &o->sample_every, 1) ||
        args.Number(L"--pace", &o->pace_ms, 0) ||
        args.Value(L"--viewer-pictures", &o->viewer_pictures) ||
        args.Value(L"--unload-check", &o->unload_dll)) {
      continue;
    }
    if (args.Assignment(L"--param", &name, &value)) {
      o->params.emplace_back(name, value);
    } else if (o->control.empty()) {
      o->control = args.Take();
    } else {
      o->ports.push_back(args.Take());
    }
  }
  if (args.Ok() && o->viewer_pictures.empty() && (o->control.empty() || o->ports.empty())) {
    args.Fail("a control and at least one port, or --viewer-pictures, are needed");
  }
  if (!args.Ok()) std::fprintf(stderr, "soakwall: %s\n", args.Error().c_str());
  return args.Ok();
}
