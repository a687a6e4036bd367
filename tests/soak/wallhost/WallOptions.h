// soakwall's command line.
#pragma once
#include <string>
#include <vector>

#include "ParamPropertyBag.h"

struct WallOptions {
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
  int pace_ms = 40;              // the message loop's run after each soak step
  std::wstring viewer_pictures;  // with a folder: only the viewer's reference pictures
};

// False, with the reason on standard error, for a command line soakwall does not understand.
bool ParseWallOptions(int argc, wchar_t** argv, WallOptions* o);
