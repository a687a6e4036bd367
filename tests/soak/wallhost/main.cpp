// soakwall: controls hosted in Wine's ATL the way a monitoring desk has them.
//
//   soakwall [--out FILE] [--atl DLL] [--cell WxH] [--timeout MS] [--rounds N]
//            [--param NAME=VALUE]... [--unload-check DLL] CLSID PORT...
//   soakwall --soak STEPS [--reload-every N] [--sample-every N] [--pace MS] ... CLSID PORT...
//   soakwall --viewer-pictures FOLDER [--out FILE]
//
// The wall (Wall.h) hosts one control per port side by side in one frame window; the soak
// (Soak.h) hosts one control at a time, reloaded, with a pane command per step; the viewer's
// pictures (ViewerPictures.h) are the references for the soak's snapshots.
//
// hostkit::Report lines: "probe ..." (the counters' own check), then per mode its own lines, the
// message boxes as "msgbox CAPTION TEXTS" (each answered with OK; the pane's modeless
// dialogs are left to the steps), and "done" last.
#include <objbase.h>
#include <windows.h>

#include <string>

#include "AtlApi.h"
#include "CounterProbe.h"
#include "DialogRecorder.h"
#include "Hosting.h"
#include "OleThread.h"
#include "Report.h"
#include "Soak.h"
#include "ViewerPictures.h"
#include "Wall.h"
#include "WallOptions.h"

int wmain(int argc, wchar_t** argv) {
  WallOptions options;
  if (!ParseWallOptions(argc, argv, &options)) return 64;
  hostkit::Report report(options.out);
  if (!report.Ok()) return 2;
  OleThread ole;
  if (FAILED(ole.Result())) {
    report.Line("error\tole");
    return 2;
  }
  if (!options.viewer_pictures.empty()) {
    const int written = WriteViewerPictures(options.viewer_pictures, report);
    report.Line("done");
    return written;
  }
  AtlApi atl(options.atl);
  if (!atl.Complete() || !atl.win_init()) {
    report.Line("error\tatl");
    return 2;
  }
  if (!RegisterFrameClass()) return 2;
  CLSID clsid;
  if (FAILED(CLSIDFromString(options.control.c_str(), &clsid)) &&
      FAILED(CLSIDFromProgID(options.control.c_str(), &clsid))) {
    report.Line("error\tclass");
    return 2;
  }
  hostkit::DialogRecorder::Rules rules;
  rules.modeless = hostkit::DialogRecorder::Modeless::kLeave;
  hostkit::DialogRecorder boxes(rules);
  report.Line(hostkit::ProbeLine(hostkit::ProbeCounters()));
  const int status = options.soak_steps > 0 ? RunSoak(options, clsid, atl, report, boxes)
                                            : RunWall(options, clsid, atl, report, boxes);
  report.Line("done");
  return status;
}
